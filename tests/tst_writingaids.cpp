#include "documentcontroller.h"
#include "editorevents.h"
#include "pagereview.h"
#include "pagereviewdock.h"
#include "usersettings.h"
#include "windowfixture.h"
#include "writingaids.h"

using namespace zendral;
using namespace zendral::test;

namespace {

// A window shown, with the keyboard in its text and a page saved in a folder of its own.
struct AidsWindow : ShownWindow
{
    QListWidget &list() { return window.writingAids().list(); }
    bool listShown() { return list().isVisible(); }
    QStringList entries()
    {
        QStringList shown;
        if (listShown()) {
            for (int row = 0; row < list().count(); ++row)
                shown.append(list().item(row)->text());
        }
        return shown;
    }
    // Types text as the keyboard does; keys in braces are named keys ({Return}, {Down}…).
    void type(const QString &keys)
    {
        static const QHash<QString, Qt::Key> named = {
            {QStringLiteral("Return"), Qt::Key_Return}, {QStringLiteral("Tab"), Qt::Key_Tab},
            {QStringLiteral("Escape"), Qt::Key_Escape}, {QStringLiteral("Down"), Qt::Key_Down},
            {QStringLiteral("Up"), Qt::Key_Up},         {QStringLiteral("Back"), Qt::Key_Backspace},
            {QStringLiteral("Left"), Qt::Key_Left},     {QStringLiteral("Right"), Qt::Key_Right},
        };
        for (qsizetype i = 0; i < keys.size(); ++i) {
            if (keys.at(i) == u'{') {
                const qsizetype close = keys.indexOf(u'}', i);
                QTest::keyClick(&view, named.value(keys.mid(i + 1, close - i - 1)));
                i = close;
            } else {
                typeInto(&view, keys.mid(i, 1));
            }
            // The list follows moves of the caret once the edit is in.
            QCoreApplication::processEvents();
        }
    }
    void undo() { QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier); }
};

// A clean page: a finding row puts one fault in it where the marker stands.
QString cleanPage(const QString &body = {}, const QString &head = {})
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "%2<title>Inicio</title>\n</head>\n<body>\n"
                          "<p>Hola <a href=\"otra.html\">otra</a> <img src=\"fotos/Foto.jpg\" "
                          "alt=\"Foto\"></p>\n%1</body>\n</html>\n")
        .arg(body, head);
}

} // namespace

class TestWritingAids : public QObject
{
    Q_OBJECT

private slots:
    void init() { userSettings()->clear(); }

    void offered_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("expected");

        const QStringList none;
        QTest::newRow("tags after < and a letter") << QString() << "<ta" << QStringList{"table"};
        QTest::newRow("filtered as typed, back too")
            << QString() << "<tex{Back}{Back}"
            << QStringList{"table", "tbody", "td",   "template", "textarea", "tfoot",
                           "th",    "thead", "time", "title",    "tr",       "track"};
        QTest::newRow("nothing after < alone") << QString() << "<" << none;
        QTest::newRow("nothing after < and a blank") << QString() << "< t" << none;
        QTest::newRow("the server block") << QString() << "<%" << QStringList{"<% … %>"};
        QTest::newRow("attributes of the element")
            << QString() << "<img sr" << QStringList{"src", "srcset"};
        QTest::newRow("global attributes too") << QString() << "<p ti" << QStringList{"title"};
        QTest::newRow("not in a closing tag") << QString() << "</p cl" << none;
        QTest::newRow("values of target after =")
            << QString() << "<a target=" << QStringList{"_blank", "_self", "_parent", "_top"};
        QTest::newRow("no values where any goes") << QString() << "<p class=" << none;
        QTest::newRow("references with their character")
            << QString() << "&aac" << QStringList{"aacute   á"};
        QTest::newRow("references' case counts")
            << QString() << "&Aac" << QStringList{"Aacute   Á"};
        QTest::newRow("a blank closes it") << QString() << "<ta " << none;
        QTest::newRow("Escape closes it") << QString() << "<ta{Escape}" << none;
        QTest::newRow("leaving the name closes it") << QString() << "<ta{Left}{Left}" << none;
        // clang-format off
        QTest::newRow("never in a comment") << "<!-- " << "<ta" << none;
        QTest::newRow("never in a script") << "<script>\n" << "<ta" << none;
        QTest::newRow("never in a style block") << "<style>" << "&aa" << none;
        QTest::newRow("never in a server block") << "<% " << "<ta" << none;
        QTest::newRow("never in a quoted value") << "<a title=\"uno" << " ta" << none;
        QTest::newRow("after a comment is closed") << "<!-- x -->" << "<ta" << QStringList{"table"};
        // clang-format on
    }

    void offered()
    {
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);
        AidsWindow f;
        f.page().setText(before);
        f.page().setSelectionStart(before.size());
        f.type(typed);
        QCOMPARE(f.entries(), expected);
    }

    void filesOfThePageFolder()
    {
        AidsWindow f;
        QTemporaryDir site;
        writeBytes(site.filePath(QStringLiteral("Portada.html")), "x");
        writeBytes(site.filePath(QStringLiteral("fotos/Mar.jpg")), "x");
        writeBytes(site.filePath(QStringLiteral("fotos/monte.jpg")), "x");
        f.trigger(QStringLiteral("mn_guardarcomo"), site.filePath(QStringLiteral("index.html")));
        f.page().setText(QString());
        f.type(QStringLiteral("<img src="));
        QCOMPARE(f.entries(), (QStringList{"fotos/", "index.html", "Portada.html"}));
        // A folder taken goes on with its files, its name as the disk spells it.
        f.type(QStringLiteral("{Return}"));
        QCOMPARE(f.entries(), (QStringList{"fotos/Mar.jpg", "fotos/monte.jpg"}));
        f.type(QStringLiteral("m{Return}"));
        QCOMPARE(f.page().text(), QStringLiteral("<img src=\"fotos/Mar.jpg\""));
    }

    void takingAnEntry_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<qint64>("caret");
        QTest::addColumn<QString>("afterUndo");

        // clang-format off
        QTest::newRow("Return takes a tag") << "<ta{Return}" << "<table" << 6LL << "<ta";
        QTest::newRow("Tab takes a tag") << "<ta{Tab}" << "<table" << 6LL << "<ta";
        QTest::newRow("in capitals") << "<TA{Return}" << "<TABLE" << 6LL << "<TA";
        QTest::newRow("Down then Return") << "<th{Down}{Return}" << "<thead" << 6LL << "<th";
        QTest::newRow("Escape, then Return breaks the line") << "<ta{Escape}{Return}" << "<ta\r\n" << 5LL << "<ta";
        QTest::newRow("an attribute and its quotes") << "<a ta{Return}" << "<a target=\"\"" << 11LL << "<a ta";
        QTest::newRow("an attribute, then its value")
            << "<a ta{Return}{Return}" << "<a target=\"_blank\"" << 18LL << "<a target=\"\"";
        QTest::newRow("a value after its quote, closed")
            << "<form method=\"po{Return}>" << "<form method=\"post\">" << 20LL << "<form method=\"post\"";
        QTest::newRow("a reference") << "&aac{Return}" << "&aacute;" << 8LL << "&aac";
        QTest::newRow("the server block") << "<%{Return}" << "<%  %>" << 3LL << "<%";
        // clang-format on
    }

    void takingAnEntry()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QFETCH(qint64, caret);
        QFETCH(QString, afterUndo);
        AidsWindow f;
        f.page().setText(QString());
        f.type(typed);
        QCOMPARE(f.page().text(), expected);
        QCOMPARE(f.page().selectionStart(), caret);
        f.undo();
        QCOMPARE(f.page().text(), afterUndo);
    }

    // What is typed, its colours and its history are the same with the aids on and off.
    void typingAsWithoutTheList()
    {
        const QString typed = QStringLiteral(
            "<TABLE border=\"1\"><tr><td class=\"x\">Hola &amp; adi\u00f3s</td></tr>"
            "<!-- <d --><% <b %><img src=\"a.jpg\" alt=\"b\"> &lt;x&gt; <a href=\"#\">y</a>");
        QList<QColor> colours[2];
        QString texts[2];
        qsizetype steps[2];
        for (const bool on : {true, false}) {
            AidsWindow f;
            f.window.command(QStringLiteral("mn_sugerencias"))->setChecked(on);
            f.window.command(QStringLiteral("mn_cerraretiquetas"))->setChecked(false);
            f.page().setText(QString());
            f.type(typed);
            texts[on] = f.page().text();
            steps[on] = f.window.events().history().count();
            for (qint64 i = 0; i < texts[on].size(); ++i)
                colours[on].append(f.view.characterColour(i));
            for (int i = 0; i < 20; ++i)
                f.undo();
            QCOMPARE(f.page().text(), texts[on].left(texts[on].size() - 20));
        }
        QCOMPARE(texts[true], typed);
        QCOMPARE(texts[false], typed);
        QCOMPARE(steps[true], steps[false]);
        QCOMPARE(colours[true], colours[false]);
    }

    void closingTag_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("written");

        // clang-format off
        QTest::newRow("the innermost of nested elements") << "<div><p>hola" << "p>";
        QTest::newRow("closed elements are passed") << "<div><p>a</p>" << "div>";
        QTest::newRow("nested ones of the same name pair among themselves") << "<div>a<div>b</div>" << "div>";
        QTest::newRow("its own spelling") << "<Div class=\"x\">" << "Div>";
        QTest::newRow("elements with no closing tag are passed") << "<div><br><img src=\"a.jpg\"><hr/>" << "div>";
        QTest::newRow("crossed: the nearest open one") << "<b><i>x</b>" << "i>";
        QTest::newRow("tags in a comment do not count") << "<div><!-- <p> -->" << "div>";
        QTest::newRow("tags in a server block do not count") << "<div><% if a<b then %>" << "div>";
        QTest::newRow("a script closes") << "<p><script>var a = '<b>';" << "script>";
        QTest::newRow("nothing inside a comment") << "<div><!-- " << "";
        QTest::newRow("nothing inside a server block") << "<div><% " << "";
        QTest::newRow("nothing where nothing is open") << "<p>a</p>" << "";
        QTest::newRow("nothing on an empty page") << "" << "";
        // clang-format on
    }

    void closingTag()
    {
        QFETCH(QString, before);
        QFETCH(QString, written);
        AidsWindow f;
        f.page().setText(before + QStringLiteral("\r\nfin"));
        f.page().setSelectionStart(before.size());
        f.type(QStringLiteral("</"));
        QCOMPARE(f.page().text(),
                 before + QStringLiteral("</") + written + QStringLiteral("\r\nfin"));
        QCOMPARE(f.page().selectionStart(), before.size() + 2 + written.size());
        if (written.isEmpty())
            return;
        // Coloured as a typed ">" colours it, and taken back in one step.
        QCOMPARE(f.view.characterColour(before.size() + 1),
                 f.view.characterColour(before.size() + 2));
        f.undo();
        QCOMPARE(f.page().text(), before + QStringLiteral("</\r\nfin"));
        f.undo();
        QCOMPARE(f.page().text(), before + QStringLiteral("<\r\nfin"));
    }

    // An author who goes on typing the closing tag gets it once.
    void closingTagTypedOn_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");

        // clang-format off
        QTest::newRow("typed whole: written once") << "<b>x</b>y" << "<b>x</b>y";
        QTest::newRow("typed in part, then text") << "<b>x</by" << "<b>x</b>y";
        QTest::newRow("another name goes after it") << "<b>x</i>" << "<b>x</b>i>";
        QTest::newRow("after a move, typed as ever") << "<b>x</{Left}{Right}b" << "<b>x</b>b";
        QTest::newRow("Backspace, then typed as ever") << "<b>x</{Back}b>" << "<b>x</bb>";
        // clang-format on
    }

    void closingTagTypedOn()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        AidsWindow f;
        f.page().setText(QString());
        f.type(typed);
        QCOMPARE(f.page().text(), expected);
    }

    void closingTagsTurnedOff()
    {
        AidsWindow f;
        f.window.command(QStringLiteral("mn_cerraretiquetas"))->setChecked(false);
        f.page().setText(QStringLiteral("<div>"));
        f.page().setSelectionStart(5);
        f.type(QStringLiteral("</"));
        QCOMPARE(f.page().text(), QStringLiteral("<div></"));
        // Kept for the next start.
        AidsWindow next;
        QVERIFY(!next.window.command(QStringLiteral("mn_cerraretiquetas"))->isChecked());
        QVERIFY(next.window.command(QStringLiteral("mn_sugerencias"))->isChecked());
    }

    void findings_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("a clean page yields nothing") << cleanPage() << QStringList();
        QTest::newRow("an element never closed") << cleanPage(QStringLiteral("<div>\n<p>uno</p>\n"))
                                                 << QStringList{"9: <div> se abre y no se cierra."};
        QTest::newRow("an element closed and never opened")
            << cleanPage(QStringLiteral("<p>uno</b></p>\n"))
            << QStringList{"9: </b> cierra un elemento que no está abierto."};
        QTest::newRow("elements closed across each other")
            << cleanPage(QStringLiteral("<p><b><i>uno</b></i></p>\n"))
            << QStringList{"9: </b> se cierra cruzado con otro elemento abierto dentro de él."};
        QTest::newRow("an element HTML does not know, told once")
            << cleanPage(QStringLiteral("<p><foo>uno</foo></p>\n"))
            << QStringList{"9: <foo> no es una etiqueta de HTML."};
        QTest::newRow("an id given twice")
            << cleanPage(QStringLiteral("<p id=\"a\">1</p>\n<p id=\"a\">2</p>\n"))
            << QStringList{"10: El id \"a\" de <p> ya lo lleva otro elemento."};
        QTest::newRow("an attribute given twice")
            << cleanPage(QStringLiteral("<p class=\"a\" class=\"b\">1</p>\n"))
            << QStringList{"9: <p> lleva dos veces el atributo \"class\"."};
        QTest::newRow("an image without alt")
            << cleanPage(QStringLiteral("<p><img src=\"otra.html\"></p>\n"))
            << QStringList{"9: La imagen no tiene texto alternativo (alt)."};
        QTest::newRow("a link with no text")
            << cleanPage(QStringLiteral("<p><a href=\"otra.html\"> </a></p>\n"))
            << QStringList{"9: El enlace no tiene texto que lo diga."};
        QTest::newRow("a link whose picture says it is fine")
            << cleanPage(QStringLiteral("<p><a href=\"otra.html\"><img src=\"otra.html\" "
                                        "alt=\"Otra\"></a></p>\n"))
            << QStringList();
        QTest::newRow("no language")
            << QString(cleanPage()).replace(QStringLiteral(" lang=\"es\""), QString())
            << QStringList{"2: La página no dice en qué idioma está (<html lang=\"es\">)."};
        QTest::newRow("no title")
            << QString(cleanPage()).replace(QStringLiteral("<title>Inicio</title>\n"), QString())
            << QStringList{"3: La página no tiene título (<title> dentro de <head>)."};
        QTest::newRow("the template's title")
            << QString(cleanPage())
                   .replace(QStringLiteral("Inicio"), QStringLiteral("ESCRÍBE AQUÍ EL TÍTULO"))
            << QStringList{"5: El título es todavía el de la plantilla: \"ESCRÍBE AQUÍ EL "
                           "TÍTULO\"."};
        QTest::newRow("a file that is not there")
            << cleanPage(QStringLiteral("<p><a href=\"nada.html#arriba\">nada</a></p>\n"))
            << QStringList{"9: No existe el archivo \"nada.html\" (href)."};
        QTest::newRow("a file named in another case")
            << cleanPage(QStringLiteral("<p><img src=\"fotos/foto.jpg\" alt=\"f\"></p>\n"))
            << QStringList{"9: No existe el archivo \"fotos/foto.jpg\" (src)."};
        QTest::newRow("addresses and anchors are not files")
            << cleanPage(QStringLiteral("<p><a href=\"http://x.es/a\">a</a> <a href=\"#b\">b</a> "
                                        "<a href=\"mailto:a@b.es\">c</a> "
                                        "<a href=\"<%= url %>\">d</a></p>\n"))
            << QStringList();
        QTest::newRow("server blocks are not faults of the markup")
            << cleanPage(QStringLiteral("<% if a<b then %>\n<p class=\"<%= c %>\">x</p>\n"
                                        "<% end if %>\n"))
            << QStringList();
        QTest::newRow("characters outside ASCII and no encoding")
            << QString(cleanPage(QStringLiteral("<p>Página</p>\n")))
                   .replace(QStringLiteral("<meta charset=\"utf-8\">\n"), QString())
            << QStringList{"8: La página tiene caracteres fuera de ASCII y no declara su "
                           "codificación (<meta charset=\"utf-8\">): un navegador puede "
                           "mostrarlos mal."};
        QTest::newRow("a character the declared encoding cannot hold")
            << QString(cleanPage(QStringLiteral("<p>Precio: 5 \u20ac, 3 \u2192 4</p>\n")))
                   .replace(QStringLiteral("utf-8"), QStringLiteral("iso-8859-15"))
            << QStringList{"9: \"\u2192\" no cabe en ISO-8859-15, la codificación que declara "
                           "la página."};
        QTest::newRow("an encoding no one knows")
            << QString(cleanPage()).replace(QStringLiteral("utf-8"), QStringLiteral("klingon"))
            << QStringList{"4: La página declara una codificación que Zendral no sabe escribir "
                           "o que nadie conoce: \"klingon\"."};
    }

    void findings()
    {
        QFETCH(QString, page);
        QFETCH(QStringList, expected);
        QTemporaryDir site;
        writeBytes(site.filePath(QStringLiteral("otra.html")), "x");
        writeBytes(site.filePath(QStringLiteral("fotos/Foto.jpg")), "x");
        QStringList found;
        for (const Finding &finding : reviewPage(page, site.path()))
            found.append(QStringLiteral("%1: %2").arg(finding.line).arg(finding.text));
        QCOMPARE(found.join(u'\n'), expected.join(u'\n'));
    }

    // The command checks the page off the window's thread and lists what it found; a
    // double-click takes the caret to the line, and the text stays as it was.
    void reviewFromTheMenu()
    {
        AidsWindow f;
        const QString page = QStringLiteral("<html lang=\"es\">\r\n<head><title>t</title></head>"
                                            "\r\n<body>\r\n<div>\r\n</body></html>\r\n");
        f.page().setText(page);
        auto &dock = f.window.pageReview();
        QSignalSpy reviewed(&dock, &PageReviewDock::reviewed);
        QTest::keyClick(&f.view, Qt::Key_F7);
        QVERIFY(reviewed.wait(20000));
        QVERIFY(dock.isVisible());
        QCOMPARE(dock.objectName(), QStringLiteral("revision"));
        auto *list = child<QListWidget>(&dock, QStringLiteral("revisionLista"));
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Línea 4: <div> se abre y no se cierra."));
        emit list->itemDoubleClicked(list->item(0));
        QCOMPARE(f.page().selectionStart(), page.indexOf(QStringLiteral("<div>")));
        QCOMPARE(f.page().text(), page);
        // Another page opened: what was found went with the page.
        QTemporaryDir folder;
        const QString other = folder.filePath(QStringLiteral("otra.html"));
        writeBytes(other, "<p>otra</p>\r\n");
        f.window.document().openPath(other);
        QCOMPARE(list->count(), 0);
        // A clean page says so.
        f.page().setText(QString(page).replace(QStringLiteral("<div>"), QStringLiteral("<p>")));
        f.trigger(QStringLiteral("mn_revisarpagina"));
        QVERIFY(reviewed.wait(20000));
        QCOMPARE(list->count(), 0);
        QCOMPARE(child<QLabel>(&dock, QStringLiteral("revisionEstado"))->text(),
                 QStringLiteral("No se ha encontrado nada que corregir."));
    }

private:
    OwnConfiguration m_configuration;
};

QTEST_MAIN(TestWritingAids)
#include "tst_writingaids.moc"
