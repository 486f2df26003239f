#include "formbuilder.h"

#include "dialogconventions.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace zendral {

ColourField ColourControls::read() const
{
    return {list->currentText(), customBox->text()};
}

QString shownText(const QLineEdit &box)
{
    return box.text();
}

QString shownText(const QComboBox &list)
{
    return list.currentText();
}

QLabel *makeLabel(QWidget *parent, const Caption &caption)
{
    auto *label = new QLabel(caption.text, parent);
    label->setObjectName(caption.name);
    // Captions are the program's texts, never markup ("<head>" must stay visible).
    label->setTextFormat(Qt::PlainText);
    return label;
}

FormBuilder::FormBuilder(QWidget *owner, int pairsPerRow)
    : m_owner(owner), m_grid(new QGridLayout), m_pairsPerRow(pairsPerRow)
{}

FormBuilder::FormBuilder(QWidget *parent, const QString &frameName, const QString &frameCaption)
    : FormBuilder(makeFrame(parent, frameName, frameCaption))
{
    m_frame = static_cast<QGroupBox *>(m_owner);
    m_frame->setLayout(m_grid);
}

void FormBuilder::place(QLabel *label, QWidget *field)
{
    if (m_pair == m_pairsPerRow)
        nextRow();
    if (label) {
        label->setBuddy(field);
        m_grid->addWidget(label, m_row, 2 * m_pair);
    }
    m_grid->addWidget(field, m_row, 2 * m_pair + 1);
    ++m_pair;
}

void FormBuilder::nextRow()
{
    if (m_pair == 0)
        return;
    ++m_row;
    m_pair = 0;
}

void FormBuilder::fieldRow(const Caption &caption, QWidget *field)
{
    place(makeLabel(m_owner, caption), field);
}

void FormBuilder::wideRow(const Caption &caption, QWidget *field)
{
    nextRow();
    QLabel *label = makeLabel(m_owner, caption);
    label->setBuddy(field);
    m_grid->addWidget(label, m_row++, 0, 1, 2 * m_pairsPerRow);
    m_grid->addWidget(field, m_row++, 0, 1, 2 * m_pairsPerRow);
}

QLineEdit *FormBuilder::textRow(const Caption &caption, const QString &boxName,
                                const QString &designText)
{
    auto *box = new QLineEdit(designText, m_owner);
    box->setObjectName(boxName);
    fieldRow(caption, box);
    return box;
}

QComboBox *FormBuilder::listRow(const Caption &caption, const QString &listName,
                                const QStringList &items, const QString &prompt)
{
    auto *list = new QComboBox(m_owner);
    list->setObjectName(listName);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would turn a typed "al" into "al inicio" behind the user's back.
    list->setCompleter(nullptr);
    list->addItems(items);
    // The prompt is not an item, so the list must be wide enough for it by itself.
    list->setMinimumContentsLength(int(prompt.size()));
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list->setCurrentIndex(-1);
    list->setEditText(prompt);
    fieldRow(caption, list);
    return list;
}

ColourControls FormBuilder::colourRow(const Caption &caption, const QString &listName,
                                      const Caption &customCaption, const QString &boxName,
                                      const QString &customItem, const QString &prompt)
{
    ColourControls controls;
    controls.list = listRow(caption, listName, colourItems(customItem), prompt);
    controls.customBox = textRow(customCaption, boxName, designTexts::CustomColourBox);
    followCustomBox(*controls.list, *controls.customBox, CustomColourIndex);
    return controls;
}

QLabel *FormBuilder::note(const Caption &caption)
{
    QLabel *label = makeLabel(m_owner, caption);
    place(nullptr, label);
    return label;
}

} // namespace zendral
