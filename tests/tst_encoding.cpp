#include "documentcontroller.h"
#include "pageencoding.h"
#include "windowfixture.h"

using namespace zendral;
using namespace zendral::test;
using namespace Qt::StringLiterals;

namespace {

QString labelText(const WindowFixture &f, const char *name)
{
    return child<QLabel>(&f.window, name)->text();
}

// A file of the test's own folder, holding bytes.
QString pageWith(const QTemporaryDir &folder, const QByteArray &bytes,
                 const QString &name = QStringLiteral("pagina.html"))
{
    const QString path = folder.filePath(name);
    writeBytes(path, bytes);
    return path;
}

// Archivo › Abrir, leaving the page before unsaved.
void open(WindowFixture &f, const QString &path)
{
    f.trigger("mn_abrir", path);
    f.prompts.questions.clear();
}

// Replaces the text of the page from position start, length characters long, as typing over
// a selection does.
void replaceText(WindowFixture &f, const QString &find, const QString &with)
{
    const qsizetype at = f.page().text().indexOf(find);
    QVERIFY2(at >= 0, qPrintable(find));
    f.page().setSelectionStart(at);
    f.page().setSelectionLength(find.size());
    typeInto(&f.view, with);
}

} // namespace

class TestEncoding : public QObject
{
    Q_OBJECT

private slots:
    void declarations_data();
    void declarations();
    void declarationTypedBeforeSave();
    void recoveredPageKeepsItsEncoding();
    void characterTheEncodingCannotHold_data();
    void characterTheEncodingCannotHold();
    void utf8DeclarationAskedOnce_data();
    void utf8DeclarationAskedOnce();
    void labelsFollowCaretAndPage();
    void conversionsRoundTrip();
    void invalidUtf8KeptByteForByte();
    void binaryPageKeepsItsBytes();
};

void TestEncoding::declarations_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding"); // as lblcodificacion shows it
    QTest::addColumn<QString>("shown");    // a stretch of the text on screen
    QTest::addColumn<QString>("told");     // the start of the status area's line
    // Whether Save asks for a UTF-8 declaration (answered No).
    QTest::addColumn<bool>("asked");

    const QByteArray accent = "<p>canci\xC3\xB3n</p>\r\n";
    QTest::newRow("meta charset utf-8") << "<head><meta charset=\"utf-8\"></head>\r\n" + accent
                                        << "UTF-8" << u"canción"_s << QString() << false;
    QTest::newRow("META CHARSET=ISO-8859-1 unquoted: Windows-1252")
        << QByteArray("<HEAD><META CHARSET=ISO-8859-1></HEAD>\r\n<p>\xE1\x80</p>\r\n")
        << "Windows-1252" << u"<p>á€</p>"_s << QString() << false;
    QTest::newRow("http-equiv Content-Type iso-8859-15: the euro sign is A4")
        << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; "
                      "charset=iso-8859-15\">\r\n<p>\xA4</p>\r\n")
        << "ISO-8859-15" << u"<p>€</p>"_s << QString() << false;
    QTest::newRow("content before http-equiv, single quotes, latin1")
        << QByteArray("<meta content='text/html;charset=latin1' http-equiv=content-type>\r\n"
                      "<p>\xF1</p>\r\n")
        << "Windows-1252" << u"<p>ñ</p>"_s << QString() << false;
    QTest::newRow("us-ascii is Windows-1252, as browsers read it")
        << QByteArray("<meta charset=\"us-ascii\">\n<p>\x93hola\x94</p>\n") << "Windows-1252"
        << u"<p>“hola”</p>"_s << QString() << false;
    QTest::newRow("UTF-8 bytes declared Windows-1252 read as a browser reads them")
        << "<meta charset=\"windows-1252\">\r\n" + accent << "Windows-1252" << u"canciÃ³n"_s
        << QString() << false;
    QTest::newRow("a declaration inside a comment is no declaration")
        << "<!-- <meta charset=\"windows-1252\"> -->\r\n" + accent << "UTF-8" << u"canción"_s
        << QString() << true;
    QTest::newRow("content without http-equiv is no declaration")
        << "<meta content=\"text/html; charset=windows-1252\">\r\n" + accent << "UTF-8"
        << u"canción"_s << QString() << true;
    QTest::newRow("declared past the first kilobyte: not seen")
        << "<!--" + QByteArray(1100, 'x') + "-->\r\n<meta charset=\"windows-1252\">\r\n" + accent
        << "UTF-8" << u"canción"_s << QString() << true;
    QTest::newRow("declared utf-8 but a stray byte: told, read as today")
        << "<meta charset=\"utf-8\">\r\n" + accent + "<p>\xE9</p>\r\n"
        << "Windows-1252" << u"<p>é</p>"_s
        << u"La página declara UTF-8, pero 1 de sus bytes no son UTF-8 válido (el primero, en la "
           "línea 3)"_s
        << false;
    QTest::newRow("a label no one knows: told, read as today")
        << "<meta charset=\"klingon\">\r\n" + accent << "UTF-8" << u"canción"_s
        << u"La página declara la codificación \"klingon\""_s << false;
}

// Each way a page declares its character set decides how it is read, is shown, and comes back
// byte for byte on Save with no edit and no question.
void TestEncoding::declarations()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    QFETCH(QString, shown);
    QFETCH(QString, told);
    QFETCH(bool, asked);
    QTemporaryDir folder;
    const QString path = pageWith(folder, bytes);
    WindowFixture f;
    open(f, path);
    QCOMPARE(labelText(f, "lblcodificacion"), encoding);
    QVERIFY2(f.page().text().contains(shown), qPrintable(f.page().text()));
    QCOMPARE(labelText(f, "lblarchivo").left(told.size()), told);
    f.trigger("mn_guardar");
    QCOMPARE(f.prompts.questions.size(), int(asked));
    QCOMPARE(f.prompts.notices, QStringList());
    QCOMPARE(fileBytes(path), bytes);
}

// An author who changes the page's declaration changes how it is written: at once, and again
// when the declaration changes back.
void TestEncoding::declarationTypedBeforeSave()
{
    QTemporaryDir folder;
    const QString path =
        pageWith(folder, "<head><meta charset=\"utf-8\"></head>\r\n<p>a\xC3\xB1o</p>\r\n");
    WindowFixture f;
    open(f, path);
    replaceText(f, "utf-8", "ISO-8859-1");
    f.trigger("mn_guardar");
    QCOMPARE(fileBytes(path), "<head><meta charset=\"ISO-8859-1\"></head>\r\n<p>a\xF1o</p>\r\n");
    QCOMPARE(labelText(f, "lblcodificacion"), "Windows-1252");
    replaceText(f, "ISO-8859-1", "utf-8");
    f.trigger("mn_guardar");
    QCOMPARE(fileBytes(path), "<head><meta charset=\"utf-8\"></head>\r\n<p>a\xC3\xB1o</p>\r\n");
    QCOMPARE(labelText(f, "lblcodificacion"), "UTF-8");
    QCOMPARE(f.prompts.questions, QStringList());
}

// A recovered page is written in the encoding it was read with, whatever it declares: the
// declaration was there before, and nothing changes a page's encoding unasked.
void TestEncoding::recoveredPageKeepsItsEncoding()
{
    QTemporaryDir folder;
    const QString path = pageWith(folder, "<p>antes</p>\r\n");
    WindowFixture f;
    f.window.document().recoverPage(u"<meta charset=\"utf-8\">\r\n<p>caf\u00E9</p>\r\n"_s, path,
                                    TextEncoding::Windows1252);
    f.trigger("mn_guardar");
    QCOMPARE(fileBytes(path), "<meta charset=\"utf-8\">\r\n<p>caf\xE9</p>\r\n");
    QCOMPARE(f.prompts.questions, QStringList());
}

void TestEncoding::characterTheEncodingCannotHold_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QByteArray>("saved"); // empty: the file is left as it was

    const QByteArray declared = "<head><meta charset=\"iso-8859-1\"></head>\r\n<p>\xE1</p>\r\n";
    QTest::newRow("declared ISO-8859-1, Sí: UTF-8 and the declaration with it")
        << declared << true
        << QByteArray("<head><meta charset=\"utf-8\"></head>\r\n<p>\xC3\xA1\xE2\x86\x92</p>\r\n");
    QTest::newRow("declared ISO-8859-1, No: nothing written") << declared << false << QByteArray();
    const QByteArray undeclared = "<html>\r\n<head>\r\n</head>\r\n<p>\xE1</p>\r\n";
    QTest::newRow("undeclared Windows-1252, Sí: UTF-8 declared after <head>")
        << undeclared << true
        << QByteArray("<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n</head>\r\n"
                      "<p>\xC3\xA1\xE2\x86\x92</p>\r\n");
}

// "→" typed into a one-byte page: asked before anything is written, and nothing lost on
// either answer (it used to be written as UTF-8 with the old declaration, or as "?").
void TestEncoding::characterTheEncodingCannotHold()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, yes);
    QFETCH(QByteArray, saved);
    QTemporaryDir folder;
    const QString path = pageWith(folder, bytes);
    WindowFixture f;
    open(f, path);
    const qsizetype at = f.page().text().indexOf("</p>");
    f.page().setSelectionStart(at);
    typeInto(&f.view, u"→"_s);
    f.prompts.answers.enqueue(yes);
    f.trigger("mn_guardar");
    QCOMPARE(f.prompts.questions.size(), 1);
    QVERIFY2(f.prompts.questions.first().startsWith(
                 u"La página tiene caracteres que la codificación Windows-1252 no puede guardar "
                 "(el primero, \"→\", en la línea"_s),
             qPrintable(f.prompts.questions.first()));
    QCOMPARE(fileBytes(path), yes ? saved : bytes);
    QCOMPARE(f.window.document().isModified(), !yes);
    QVERIFY(f.page().text().contains(u"á→"_s));
    // The caret stays where the author typed.
    QCOMPARE(f.page().textRange(f.page().selectionStart() - 2, 2), u"á→"_s);
    QCOMPARE(labelText(f, "lblcodificacion"), yes ? "UTF-8" : "Windows-1252");
    // The declaration's change is one step of the history, the typed arrow another.
    if (yes) {
        f.trigger("btndeshacer");
        QVERIFY(!f.page().text().contains("utf-8"));
        QVERIFY(f.page().text().contains(u"á→"_s));
    }
}

void TestEncoding::utf8DeclarationAskedOnce_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Sí: the line added once") << true;
    QTest::newRow("No: saved as it stands, not asked again") << false;
}

// The new user's page: Nuevo, a heading with an accent, Save twice. Asked once; "Sí" adds the
// declaration right after <head>, once, and the caret stays in the heading.
void TestEncoding::utf8DeclarationAskedOnce()
{
    QFETCH(bool, yes);
    QTemporaryDir folder;
    const QString path = folder.filePath("dos.html");
    WindowFixture f;
    f.trigger("mn_nuevo");
    f.prompts.questions.clear();
    typeInto(&f.view, u"<h2>Página dos</h2>"_s);
    f.prompts.answers.enqueue(yes);
    f.trigger("mn_guardar", path);
    typeInto(&f.view, u"<p>más</p>"_s);
    f.trigger("mn_guardar");
    QCOMPARE(f.prompts.questions.size(), 1);
    QVERIFY(f.prompts.questions.first().contains(u"<meta charset=\"utf-8\">"_s));
    const QString written = QString::fromUtf8(fileBytes(path));
    QCOMPARE(written.count("<meta charset=\"utf-8\">"), int(yes));
    QCOMPARE(written.startsWith(u"<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<title>"_s), yes);
    QVERIFY(written.endsWith(u"<h2>Página dos</h2><p>más</p>\r\n"_s));
}

// The three labels: the encoding and line ends follow the page, the position the caret, in
// lines as the page counts them (a long line held in parts is one) and characters.
void TestEncoding::labelsFollowCaretAndPage()
{
    QTemporaryDir folder;
    // A window per page: the tag-pair marks still trip over a mixed page's table when the next
    // page comes in (a fault of their own, mended apart).
    const auto opened = [&](const QByteArray &bytes, const QString &name) {
        auto f = std::make_unique<WindowFixture>();
        open(*f, pageWith(folder, bytes, name));
        return f;
    };
    const auto position = [](const WindowFixture &f) { return labelText(f, "lblposicion"); };
    auto f = opened("uno\ndos\ntres\n", "lf.html");
    QCOMPARE(labelText(*f, "lblfinales"), "LF");
    QCOMPARE(labelText(*f, "lblcodificacion"), "UTF-8");
    f->page().setSelectionStart(6);
    QTRY_COMPARE(position(*f), "Lín 2, col 3");

    f = opened("uno\r\ndos\ntres\r\n", "mixed.html");
    QTRY_COMPARE(labelText(*f, "lblfinales"), "Mixtos");
    QTRY_COMPARE(position(*f), "Lín 1, col 1");
    f->page().setSelectionStart(11);
    QTRY_COMPARE(position(*f), "Lín 3, col 3");

    f = opened("<p>" + QByteArray(9000, 'a') + "</p>\r\nfin\r\n", "long.html");
    QTRY_COMPARE(labelText(*f, "lblfinales"), "CR LF");
    f->page().setSelectionStart(5000);
    QTRY_COMPARE(position(*f), "Lín 1, col 5001");
    typeInto(&f->view, "b");
    QTRY_COMPARE(position(*f), "Lín 1, col 5002");
    f->page().setSelectionStart(f->page().text().indexOf("fin") + 2);
    QTRY_COMPARE(position(*f), "Lín 2, col 3");
}

// Every conversion comes back: line ends both ways, Guardar como through the list, Volver a
// abrir como, ending on the bytes the page began with.
void TestEncoding::conversionsRoundTrip()
{
    QTemporaryDir folder;
    const QByteArray original = "<head><meta charset=\"utf-8\"></head>\r\n<p>\xE2\x82\xAC "
                                "\xC3\xA1</p>\r\n";
    const QString path = pageWith(folder, original);
    WindowFixture f;
    // Archivo › Codificación stands right before Salir.
    const QList<QAction *> fileMenu = child<QMenu>(&f.window, "mn_archivo")->actions();
    const qsizetype encodingMenu =
        fileMenu.indexOf(child<QMenu>(&f.window, "mn_codificacion")->menuAction());
    QCOMPARE(fileMenu.value(encodingMenu + 1), f.window.command("mn_salir"));
    open(f, path);
    f.trigger("mn_finaleslf");
    f.trigger("btndeshacer");
    QCOMPARE(f.page().text(), QString::fromUtf8(original));
    f.trigger("mn_finaleslf");
    QCOMPARE(labelText(f, "lblfinales"), "LF");
    f.trigger("mn_guardar");
    QCOMPARE(fileBytes(path), QByteArray(original).replace("\r\n", "\n"));
    f.trigger("mn_finalescrlf");
    f.trigger("mn_guardar");
    QCOMPARE(fileBytes(path), original);

    f.trigger("mn_guardarwindows1252");
    QCOMPARE(fileBytes(path),
             "<head><meta charset=\"windows-1252\"></head>\r\n<p>\x80 \xE1</p>\r\n");
    QCOMPARE(labelText(f, "lblcodificacion"), "Windows-1252");
    f.trigger("mn_guardariso885915");
    QCOMPARE(fileBytes(path),
             "<head><meta charset=\"iso-8859-15\"></head>\r\n<p>\xA4 \xE1</p>\r\n");
    f.trigger("mn_guardarutf16");
    QCOMPARE(labelText(f, "lblcodificacion"), "UTF-16 LE");
    QCOMPARE(fileBytes(path).left(4), QByteArray("\xFF\xFE<\0", 4));
    f.trigger("mn_guardarutf8");
    QCOMPARE(fileBytes(path), original);

    // Read wrongly on purpose, then rightly again: nothing of the file is lost on the way.
    f.trigger("mn_abrirwindows1252");
    QCOMPARE(labelText(f, "lblcodificacion"), "Windows-1252");
    QVERIFY(f.page().text().contains(u"â‚¬"_s));
    f.trigger("mn_abrirutf8");
    QVERIFY(f.page().text().contains(u"€ á"_s));
    f.trigger("mn_guardar");
    QCOMPARE(fileBytes(path), original);
    QCOMPARE(f.prompts.questions, QStringList());
    QCOMPARE(f.prompts.notices, QStringList());
}

// A UTF-8 page with one stray byte: told when it opens, read as UTF-8 on request with the byte
// kept, and written back with that byte as it was, around an edit (it used to be turned into
// Windows-1252 and every accent written twice).
void TestEncoding::invalidUtf8KeptByteForByte()
{
    QTemporaryDir folder;
    const QByteArray bytes = "<p>canci\xC3\xB3n</p>\n<p>a\xC3\xB1o</p>\n<p>caf\xE9</p>\n";
    const QString path = pageWith(folder, bytes);
    WindowFixture f;
    open(f, path);
    QVERIFY2(labelText(f, "lblarchivo")
                 .startsWith(u"La página parece UTF-8, pero 1 de sus bytes no son UTF-8 válido "
                             "(el primero, en la línea 3)"_s),
             qPrintable(labelText(f, "lblarchivo")));
    f.trigger("mn_abrirutf8");
    QCOMPARE(labelText(f, "lblcodificacion"), "UTF-8");
    QVERIFY(f.page().text().startsWith(u"<p>canción</p>\n<p>año</p>"_s));
    f.page().setSelectionStart(f.page().text().indexOf("</p>"));
    typeInto(&f.view, u"→"_s);
    f.prompts.answers.enqueue(false);
    f.trigger("mn_guardar");
    QCOMPARE(fileBytes(path), QByteArray(bytes).replace("n</p>", "n\xE2\x86\x92</p>"));
}

// A file opened as binary keeps every byte: a character its bytes cannot hold is refused where
// it is typed or pasted, with a plain note, and one inserted otherwise (a dialog's fragment)
// stops the save (every byte from 0x80 up used to be rewritten as UTF-8).
void TestEncoding::binaryPageKeepsItsBytes()
{
    QTemporaryDir folder;
    const QByteArray bytes("GIF89a\0\x80\xFF\xE1\r\n", 12);
    const QString path = pageWith(folder, bytes);
    WindowFixture f;
    // The page on screen is not saved; then yes, open it although it looks binary.
    f.prompts.answers.enqueue(false);
    f.prompts.answers.enqueue(true);
    open(f, path);
    QCOMPARE(labelText(f, "lblcodificacion"), "Binario (Windows-1252)");
    f.page().setSelectionStart(0);
    typeInto(&f.view, u"ñ→"_s);
    QCOMPARE(
        labelText(f, "lblarchivo"),
        u"El archivo es binario: el carácter \"→\" no cabe en sus bytes y no se ha escrito."_s);
    QApplication::clipboard()->setText(u"€✓"_s);
    f.trigger("mn_pegar");
    QVERIFY(labelText(f, "lblarchivo").contains(u"\"✓\""_s));
    f.trigger("mn_guardar");
    QCOMPARE(fileBytes(path), "\xF1" + bytes);
    f.page().setSelectedText(u"→"_s);
    f.trigger("mn_guardar");
    QCOMPARE(f.prompts.notices.size(), 1);
    QVERIFY2(f.prompts.notices.first().contains(u"es un archivo binario, y el carácter \"→\""_s),
             qPrintable(f.prompts.notices.first()));
    QCOMPARE(fileBytes(path), "\xF1" + bytes);
}

QTEST_MAIN(TestEncoding)
#include "tst_encoding.moc"
