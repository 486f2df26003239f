#include "documentfile.h"
#include "editingsurface.h"
#include "hunspellengine.h"
#include "readablewords.h"
#include "spelldictionary.h"
#include "spellingcheck.h"
#include "spellingsession.h"
#include "taginsertion.h"
#include "testsupport.h"

#include <cerrno>

using namespace zendral;
using namespace zendral::test;

namespace {

const QStringList SmallWords = {u"la"_qs,      u"el"_qs,     u"casa"_qs,  u"azul"_qs, u"perro"_qs,
                                u"gato"_qs,    u"y"_qs,      u"una"_qs,   u"de"_qs,   u"año"_qs,
                                u"canción"_qs, u"título"_qs, u"enviar"_qs};

} // namespace

class TestSpelling : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void words_data();
    void words();

    void addedWordsLastTheRun();
    void context();

    void encodings_data();
    void encodings();
    void dictionaryOrder();

    void failureNotice_data();
    void failureNotice();
    void dialog_data();
    void dialog();

private:
    SpellDictionary writeDictionary(const QString &name, const QByteArray &encoding,
                                    const QStringList &words);

    QTemporaryDir m_folder;
    SpellDictionary m_small;
};

SpellDictionary TestSpelling::writeDictionary(const QString &name, const QByteArray &encoding,
                                              const QStringList &words)
{
    QStringEncoder encoder(encoding == "UTF-8" ? "UTF-8" : "ISO-8859-1");
    const SpellDictionary dictionary{name, m_folder.filePath(name + u".aff"_qs),
                                     m_folder.filePath(name + u".dic"_qs)};
    QFile affix(dictionary.affixPath);
    if (affix.open(QIODevice::WriteOnly))
        affix.write("SET " + encoding + "\nTRY " +
                    QByteArray(encoder.encode(u"aeioucnrstlmdpbgyzñáéíóú"_qs)) + "\n");
    QFile list(dictionary.wordsPath);
    if (list.open(QIODevice::WriteOnly)) {
        list.write(QByteArray::number(words.size()) + "\n");
        for (const QString &word : words)
            list.write(QByteArray(encoder.encode(word)) + "\n");
    }
    return dictionary;
}

void TestSpelling::initTestCase()
{
    QVERIFY(m_folder.isValid());
    m_small = writeDictionary(u"pequeno"_qs, "UTF-8", SmallWords);
}

void TestSpelling::words_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("tag and attribute names skipped")
        << u"<p class=\"rojo\">hola mundo</p>"_qs << QStringList{"hola", "mundo"};
    QTest::newRow("alt and title read, src skipped")
        << u"<img src=\"foto.gif\" alt=\"una casa\" title='el perro'>"_qs
        << QStringList{"una", "casa", "el", "perro"};
    QTest::newRow("unquoted value read, name skipped")
        << u"<input type=submit VALUE=Enviar name=boton>"_qs << QStringList{"Enviar"};
    QTest::newRow("comment skipped")
        << u"antes<!-- nada <b>aqui</b> -->despues"_qs << QStringList{"antes", "despues"};
    QTest::newRow("script and style contents skipped")
        << u"<script>var palabra = \"<b>\";</script><STYLE>p {color: red}</style>fin"_qs
        << QStringList{"fin"};
    QTest::newRow("server block skipped")
        << u"<% Response.Write \"hola\" %>texto"_qs << QStringList{"texto"};
    QTest::newRow("server block with quotes inside a value")
        << u"<input value=\"<%=Request(\"nombre\")%> casa\">"_qs << QStringList{"casa"};
    QTest::newRow("entities decoded inside the word")
        << u"canci&oacute;n a&#241;o a&#xF1;o"_qs << QStringList{"canción", "año", "año"};
    QTest::newRow("unknown entity, nbsp and amp separate words")
        << u"uno&zzz;dos&nbsp;tres&amp;cuatro"_qs << QStringList{"uno", "dos", "tres", "cuatro"};
    QTest::newRow("lone ampersand and less-than are text")
        << u"uno & dos < b"_qs << QStringList{"uno", "dos", "b"};
    QTest::newRow("words glued to digits skipped") << u"h1 mp3 2x casa"_qs << QStringList{"casa"};
    QTest::newRow("mail and web addresses skipped")
        << u"escribe a yo@sitio.com o www.sitio.com"_qs << QStringList{"escribe", "a", "o"};
    QTest::newRow("apostrophe inside a word, not around it")
        << u"l'eau 'casa'"_qs << QStringList{"l'eau", "casa"};
    QTest::newRow("unterminated tag reads nothing more")
        << u"hola <b class=\"x y z"_qs << QStringList{"hola"};
    QTest::newRow("letters beyond the basic plane")
        << u"x\U0001D49Cy"_qs << QStringList{"x\U0001D49Cy"};
}

void TestSpelling::words()
{
    QFETCH(QString, page);
    QFETCH(QStringList, words);

    QStringList found;
    for (const ReadableWord &word : readableWords(page)) {
        found.append(word.word);
        // Every word must point at the stretch of page that writes it.
        QVERIFY(word.start >= 0 && word.start + word.length <= page.size());
    }
    QCOMPARE(found, words);
}

void TestSpelling::addedWordsLastTheRun()
{
    SpellingCheck check({m_small});
    EditingSurface text1;
    FakePrompts prompts;
    text1.page().setText(u"zendral y csa"_qs);
    whenModalOpens([](QWidget &dialog) {
        click(&dialog, u"btnagregar"_qs);
        click(&dialog, u"btnignorar"_qs);
    });
    check.run(text1.page(), prompts, nullptr);
    QCOMPARE(check.addedWords(), QStringList{"zendral"});

    // A later check, with a dictionary loaded afresh, still accepts the word.
    text1.page().setText(u"otra vez zendral"_qs);
    whenModalOpens([](QWidget &dialog) {
        // "otra" and "vez" are unknown to the small dictionary; "zendral" must not come up.
        QVERIFY(child<QLineEdit>(&dialog, u"txtcambiar"_qs)->text() != u"zendral"_qs);
        click(&dialog, u"btnignorartodas"_qs);
        click(&dialog, u"btnignorartodas"_qs);
        QVERIFY(!dialog.isVisible());
    });
    check.run(text1.page(), prompts, nullptr);
    QCOMPARE(text1.page().text(), u"otra vez zendral"_qs);
}

void TestSpelling::context()
{
    SpellEngineFailure failure;
    auto engine = HunspellEngine::open(m_small, &failure);
    QVERIFY(engine);
    QStringList added;
    const QString longLine(100, QLatin1Char('-'));
    SpellingSession session(u"el perro\r\n"_qs + longLine + u" la csa azul\r\nel gato"_qs, *engine,
                            added);
    QCOMPARE(session.word(), u"csa"_qs);
    QVERIFY(session.contextBefore().endsWith(QLatin1String(" la ")));
    QCOMPARE(session.contextBefore().size(), SpellingSession::ContextLength);
    QCOMPARE(session.contextAfter(), u" azul"_qs);
    QCOMPARE(session.suggestions().value(0), u"casa"_qs);
    // A line shorter than the context shows from its own start, nothing of the line before.
    SpellingSession shortLine(u"el perro\r\nla csa"_qs, *engine, added);
    QCOMPARE(shortLine.contextBefore(), u"la "_qs);
}

void TestSpelling::encodings_data()
{
    QTest::addColumn<QByteArray>("encoding");
    QTest::newRow("UTF-8 dictionary") << QByteArray("UTF-8");
    QTest::newRow("Latin-1 dictionary") << QByteArray("ISO8859-1");
}

void TestSpelling::encodings()
{
    QFETCH(QByteArray, encoding);

    const SpellDictionary dictionary = writeDictionary(u"codificado"_qs, encoding, SmallWords);
    SpellEngineFailure failure;
    auto engine = HunspellEngine::open(dictionary, &failure);
    QVERIFY(engine);
    QCOMPARE(engine->encoding(), encoding);
    QVERIFY(engine->check(u"año"_qs));
    QVERIFY(engine->check(u"canción"_qs));
    QVERIFY(!engine->check(u"cancion"_qs));
    QVERIFY(engine->suggest(u"cancion"_qs).contains(u"canción"_qs));
    // A letter the dictionary's encoding cannot hold makes an unknown word, not a wrong match.
    QVERIFY(!engine->check(u"caŝa"_qs));
    engine->add(u"pingüino"_qs);
    QVERIFY(engine->check(u"pingüino"_qs));
}

void TestSpelling::dictionaryOrder()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const char *name : {"en_US", "es_MX", "de_DE", "es_ES", "es_AR"}) {
        for (const char *extension : {".aff", ".dic"}) {
            QFile file(folder.filePath(QLatin1String(name) + QLatin1String(extension)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    // Hyphenation patterns share the extension but are no dictionary.
    QFile hyphenation(folder.filePath(u"hyph_es.dic"_qs));
    QVERIFY(hyphenation.open(QIODevice::WriteOnly));

    QStringList names;
    for (const SpellDictionary &dictionary : installedDictionaries({folder.path()}))
        names.append(dictionary.name);
    QCOMPARE(names, (QStringList{"es_ES", "es_AR", "es_MX", "de_DE", "en_US"}));
}

void TestSpelling::failureNotice_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<int>("number");
    // What could not be opened; %1 stands for the test's folder.
    QTest::addColumn<QString>("what");

    QTest::newRow("no dictionary installed")
        << QString() << ENOENT << u"el diccionario de Hunspell"_qs;
    QTest::newRow("affix file gone") << u"ido.aff"_qs << ENOENT << u"%1/ido.aff"_qs;
    QTest::newRow("folder in place of the word list")
        << u"carpeta.dic"_qs << EISDIR << u"%1/carpeta.dic"_qs;
}

void TestSpelling::failureNotice()
{
    QFETCH(QString, missing);
    QFETCH(int, number);
    QFETCH(QString, what);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    std::vector<SpellDictionary> dictionaries;
    if (missing.endsWith(QLatin1String(".aff"))) {
        dictionaries.push_back({u"ido"_qs, folder.filePath(missing), m_small.wordsPath});
    } else if (missing.endsWith(QLatin1String(".dic"))) {
        QVERIFY(QDir(folder.path()).mkdir(missing));
        dictionaries.push_back({u"carpeta"_qs, m_small.affixPath, folder.filePath(missing)});
    }
    SpellingCheck check(dictionaries);
    EditingSurface text1;
    text1.page().setText(u"la csa\r\nazul"_qs);
    text1.page().setSelectionStart(3);
    FakePrompts prompts;
    check.run(text1.page(), prompts, nullptr);

    if (what.contains(QLatin1String("%1")))
        what = what.arg(folder.path());
    const QString notice =
        u"Error %1 al abrir %2.\r\n%3"_qs.arg(QString::number(number), what, errorReason(number));
    QCOMPARE(prompts.notices, QStringList{notice});
    QCOMPARE(text1.page().text(), u"la csa\r\nazul"_qs);
    QCOMPARE(text1.page().selectionStart(), 3);
}

void TestSpelling::dialog_data()
{
    QTest::addColumn<QString>("page");
    // In the dialog, in order: "offer=<word>" checks the word offered and suggested,
    // "<box or list>=<value>" sets it, anything else is a button clicked.
    QTest::addColumn<QStringList>("actions");
    // Empty: the page as it was.
    QTest::addColumn<QString>("corrected");
    // The start of the one notice shown; empty: none.
    QTest::addColumn<QString>("notice");

    QTest::newRow("nothing misspelled: told, page, colours and saved state kept")
        << u"<p class=\"xyz\">la casa azul</p>\r\n"_qs << QStringList() << QString()
        << u"No se ha encontrado ninguna palabra mal escrita."_qs;
    QTest::newRow("everything ignored: page, colours and saved state kept")
        << u"<p>la csa</p>"_qs << QStringList{"btnignorar"} << QString() << QString();
    QTest::newRow("closed early keeps the corrections made")
        << u"csa prro"_qs << QStringList{"txtcambiar=cosa", "btncambiar", "btncerrar"}
        << u"cosa prro"_qs << QString();
    QTest::newRow("switching to a missing dictionary keeps the other")
        << u"csa prro"_qs << QStringList{"cmbdiccionario=1", "btncambiar", "btncambiar"}
        << u"casa perro"_qs << u"Error 2 al abrir "_qs;
    QTest::newRow("change all reaches every later occurrence")
        << u"csa y csa<br>\r\n<b>csa</b>"_qs << QStringList{"offer=casa", "btncambiartodas"}
        << u"casa y casa<br>\r\n<b>casa</b>"_qs << QString();
    QTest::newRow("change all keeps an occurrence already ignored")
        << u"csa y csa y csa"_qs << QStringList{"btnignorar", "txtcambiar=casa", "btncambiartodas"}
        << u"csa y casa y casa"_qs << QString();
    QTest::newRow("ignore all passes later occurrences")
        << u"csa y csa perrro"_qs
        << QStringList{"btnignorartodas", "txtcambiar=perro", "btncambiar"} << u"csa y csa perro"_qs
        << QString();
    QTest::newRow("entity word corrected in entity form")
        << u"la canci&oacute;nn"_qs << QStringList{"txtcambiar=canción", "btncambiar"}
        << u"la canci&oacute;n"_qs << QString();
    QTest::newRow("page writing accents as entities gets entities")
        << u"el a&ntilde;o cancion"_qs << QStringList{"txtcambiar=canción", "btncambiar"}
        << u"el a&ntilde;o canci&oacute;n"_qs << QString();
    QTest::newRow("quote in a correction cannot end the attribute")
        << u"<img alt=\"csa\">"_qs << QStringList{"txtcambiar=casa\"", "btncambiar"}
        << u"<img alt=\"casa&quot;\">"_qs << QString();
    QTest::newRow("blank in a correction cannot end an unquoted value")
        << u"<img alt=csa>"_qs << QStringList{"txtcambiar=una casa", "btncambiar"}
        << u"<img alt=una&#32;casa>"_qs << QString();
    QTest::newRow("markup typed as a correction stays text")
        << u"csa"_qs << QStringList{"txtcambiar=<b>casa</b>", "btncambiar"}
        << u"&lt;b&gt;casa&lt;/b&gt;"_qs << QString();
    QTest::newRow("CR LF line ends come back as they went")
        << u"la csa\r\nazul\r\n\r\nprro\r\n"_qs
        << QStringList{"txtcambiar=casa", "btncambiar", "txtcambiar=perro", "btncambiar"}
        << u"la casa\r\nazul\r\n\r\nperro\r\n"_qs << QString();
}

void TestSpelling::dialog()
{
    QFETCH(QString, page);
    QFETCH(QStringList, actions);
    QFETCH(QString, corrected);
    QFETCH(QString, notice);

    const SpellDictionary gone{u"ido"_qs, m_folder.filePath(u"ido.aff"_qs),
                               m_folder.filePath(u"ido.dic"_qs)};
    SpellingCheck check({m_small, gone});
    EditingSurface text1;
    InsertTagText(text1.page(), page, colours::Blue);
    QSignalSpy changes(&text1.page(), &PageText::changed);
    FakePrompts prompts;
    whenModalOpens([&](QWidget &dialog) {
        for (const QString &action : actions) {
            const QString name = action.section(u'=', 0, 0);
            const QString value = action.section(u'=', 1);
            if (name == u"offer") {
                QCOMPARE(child<QLineEdit>(&dialog, u"txtcambiar"_qs)->text(), value);
                auto *list = child<QListWidget>(&dialog, u"lstsugerencias"_qs);
                QVERIFY(!list->findItems(value, Qt::MatchExactly).isEmpty());
            } else if (name == u"txtcambiar") {
                child<QLineEdit>(&dialog, name)->setText(value);
            } else if (name == u"cmbdiccionario") {
                auto *list = child<QComboBox>(&dialog, name);
                QCOMPARE(list->count(), 2);
                // As the user picks it: the list shows it, then tells.
                list->setCurrentIndex(value.toInt());
                emit list->activated(value.toInt());
                QCOMPARE(list->currentIndex(), 0);
            } else {
                click(&dialog, name);
            }
        }
    });
    check.run(text1.page(), prompts, nullptr);
    QCOMPARE(text1.page().text(), corrected.isEmpty() ? page : corrected);
    // A page the check did not change keeps its colours and has not changed for the saved path.
    QCOMPARE(changes.count(), corrected.isEmpty() ? 0 : 1);
    if (corrected.isEmpty())
        QCOMPARE(text1.page().colourAt(1), colours::Blue);
    QCOMPARE(prompts.notices.size(), notice.isEmpty() ? 0 : 1);
    if (!notice.isEmpty())
        QVERIFY(prompts.notices.first().startsWith(notice));
}

QTEST_MAIN(TestSpelling)
#include "tst_spelling.moc"
