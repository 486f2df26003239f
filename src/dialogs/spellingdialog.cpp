#include "spellingdialog.h"

#include "dialogconventions.h"
#include "spellingsession.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace zendral {

namespace {

// The unknown word stands out in dark red within its sentence.
const QString UnknownWordColour = QStringLiteral("#c00000");

namespace captions {
const QString Dialog = QStringLiteral("  Corrector ortográfico");
const QString NotFound = QStringLiteral("No se encuentra:");
const QString ChangeTo = QStringLiteral("Ca&mbiar a:");
const QString Suggestions = QStringLiteral("&Sugerencias:");
const QString Dictionary = QStringLiteral("&Diccionario:");
const QString Ignore = QStringLiteral("&Ignorar");
const QString IgnoreAll = QStringLiteral("I&gnorar todas");
const QString Change = QStringLiteral("&Cambiar");
const QString ChangeAll = QStringLiteral("Cambiar &todas");
const QString Add = QStringLiteral("&Agregar");
const QString Close = QStringLiteral("Ce&rrar");
} // namespace captions

QPushButton *button(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *pushButton = new QPushButton(caption, parent);
    pushButton->setObjectName(objectName);
    pushButton->setAutoDefault(false);
    return pushButton;
}

} // namespace

SpellingDialog::SpellingDialog(SpellingSession &session, const QStringList &dictionaryNames,
                               int currentDictionary, QWidget *parent)
    : QDialog(parent), m_session(session)
{
    m_context = new QTextBrowser(this);
    m_context->setObjectName(QStringLiteral("txtcontexto"));
    m_context->setMinimumWidth(420);
    m_context->setFixedHeight(m_context->fontMetrics().lineSpacing() * 4);
    m_replacement = new QLineEdit(this);
    m_replacement->setObjectName(QStringLiteral("txtcambiar"));
    m_suggestions = new QListWidget(this);
    m_suggestions->setObjectName(QStringLiteral("lstsugerencias"));
    m_suggestions->setFixedHeight(m_suggestions->fontMetrics().lineSpacing() * 7);
    m_dictionaries = new QComboBox(this);
    m_dictionaries->setObjectName(QStringLiteral("cmbdiccionario"));
    m_dictionaries->addItems(dictionaryNames);
    m_dictionaries->setCurrentIndex(currentDictionary);

    auto *ignore = button(QStringLiteral("btnignorar"), captions::Ignore, this);
    auto *ignoreAll = button(QStringLiteral("btnignorartodas"), captions::IgnoreAll, this);
    m_change = button(QStringLiteral("btncambiar"), captions::Change, this);
    auto *changeAll = button(QStringLiteral("btncambiartodas"), captions::ChangeAll, this);
    auto *add = button(QStringLiteral("btnagregar"), captions::Add, this);
    auto *close = button(QStringLiteral("btncerrar"), captions::Close, this);
    m_change->setDefault(true);

    auto *changeToLabel = new QLabel(captions::ChangeTo, this);
    changeToLabel->setBuddy(m_replacement);
    auto *suggestionsLabel = new QLabel(captions::Suggestions, this);
    suggestionsLabel->setBuddy(m_suggestions);
    auto *dictionaryLabel = new QLabel(captions::Dictionary, this);
    dictionaryLabel->setBuddy(m_dictionaries);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(captions::NotFound, this), 0, 0, 1, 2);
    grid->addWidget(m_context, 1, 0, 1, 2);
    grid->addWidget(ignore, 1, 2, Qt::AlignTop);
    grid->addWidget(changeToLabel, 2, 0);
    grid->addWidget(m_replacement, 2, 1);
    grid->addWidget(ignoreAll, 2, 2);
    grid->addWidget(suggestionsLabel, 3, 0, Qt::AlignTop);
    grid->addWidget(m_suggestions, 3, 1, 4, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_change);
    buttons->addWidget(changeAll);
    buttons->addWidget(add);
    buttons->addStretch();
    buttons->addWidget(close);
    grid->addLayout(buttons, 3, 2, 4, 1);
    grid->addWidget(dictionaryLabel, 7, 0);
    grid->addWidget(m_dictionaries, 7, 1);
    prepareDialog(*this, QStringLiteral("ortografia"), captions::Dialog);

    connect(ignore, &QPushButton::clicked, this,
            [this] { decide([this] { m_session.ignore(); }); });
    connect(ignoreAll, &QPushButton::clicked, this,
            [this] { decide([this] { m_session.ignoreAll(); }); });
    connect(m_change, &QPushButton::clicked, this,
            [this] { decide([this] { m_session.change(m_replacement->text()); }); });
    connect(changeAll, &QPushButton::clicked, this,
            [this] { decide([this] { m_session.changeAll(m_replacement->text()); }); });
    connect(add, &QPushButton::clicked, this, [this] { decide([this] { m_session.add(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_suggestions, &QListWidget::currentTextChanged, m_replacement,
            [this](const QString &text) {
                if (!text.isEmpty())
                    m_replacement->setText(text);
            });
    connect(m_suggestions, &QListWidget::itemActivated, m_change, &QPushButton::click);
    connect(m_dictionaries, &QComboBox::activated, this, &SpellingDialog::dictionaryChosen);

    showWord();
}

void SpellingDialog::showWord()
{
    if (m_session.finished()) {
        accept();
        return;
    }
    m_context->setHtml(QStringLiteral("<p>%1<b><font color=\"%2\">%3</font></b>%4</p>")
                           .arg(m_session.contextBefore().toHtmlEscaped(), UnknownWordColour,
                                m_session.sourceWord().toHtmlEscaped(),
                                m_session.contextAfter().toHtmlEscaped()));
    const QStringList suggestions = m_session.suggestions();
    m_suggestions->clear();
    m_suggestions->addItems(suggestions);
    if (suggestions.isEmpty()) {
        m_replacement->setText(m_session.word());
    } else {
        m_suggestions->setCurrentRow(0);
        m_replacement->setText(suggestions.first());
    }
    m_replacement->selectAll();
    m_replacement->setFocus();
}

void SpellingDialog::setDictionary(int index)
{
    const QSignalBlocker blocker(m_dictionaries);
    m_dictionaries->setCurrentIndex(index);
}

template <typename Decision> void SpellingDialog::decide(Decision decision)
{
    decision();
    showWord();
}

} // namespace zendral
