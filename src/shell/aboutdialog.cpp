#include "aboutdialog.h"

#include "weblinks.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

static void initPictures()
{
    Q_INIT_RESOURCE(pictures);
}

namespace zendral {

namespace {

// The box's texts, together so they can be read and corrected in one place.
const QString Title = QStringLiteral("Acerca de Zendral");
const QString ProductName = QStringLiteral("Zendral");
const QString Version = QStringLiteral("Versión 1.1");
const QString Description = QStringLiteral("Editor de páginas HTML y ASP escritas a mano.");
const QString Credits = QStringLiteral("Programa: Equipo de Zendral\nDiseño e imágenes: Equipo "
                                       "de Zendral");
const QString Terms =
    QStringLiteral("Este programa es gratuito y puede copiarse y repartirse libremente, siempre "
                   "que se haga completo y sin cambios. Se entrega tal cual, sin garantía de "
                   "ningún tipo.");

QLabel *label(const QString &text, const QString &name)
{
    auto *result = new QLabel(text);
    result->setObjectName(name);
    result->setWordWrap(true);
    result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return result;
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    initPictures();
    setObjectName(QStringLiteral("acercade"));
    setWindowTitle(Title);
    setModal(true);

    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("imagen"));
    picture->setPixmap(QPixmap(QStringLiteral(":/pictures/acercade.svg")));
    picture->setAlignment(Qt::AlignTop);

    auto *name = label(ProductName, QStringLiteral("lblnombre"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    name->setFont(big);

    auto *texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(label(Version, QStringLiteral("lblversion")));
    texts->addWidget(label(Description, QStringLiteral("lbldescripcion")));
    texts->addSpacing(8);
    texts->addWidget(label(Credits, QStringLiteral("lblcreditos")));
    texts->addWidget(label(QStringLiteral("Correo: ") + weblinks::Email + u'\n' +
                               QStringLiteral("Web del programa: ") + weblinks::ProgramPage +
                               u'\n' + QStringLiteral("Web del autor: ") + weblinks::AuthorPage,
                           QStringLiteral("lbldirecciones")));
    texts->addSpacing(8);
    texts->addWidget(label(Terms, QStringLiteral("lbldistribucion")));

    auto *top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(texts, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QPushButton *accept = buttons->button(QDialogButtonBox::Ok);
    accept->setObjectName(QStringLiteral("btnaceptar"));
    accept->setText(QStringLiteral("Aceptar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setFixedWidth(520);
}

} // namespace zendral
