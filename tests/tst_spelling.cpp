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

const QStringList SmallWords = {
    QStringLiteral("la"),    QStringLiteral("el"),      QStringLiteral("casa"),
    QStringLiteral("azul"),  QStringLiteral("perro"),   QStringLiteral("gato"),
    QStringLiteral("y"),     QStringLiteral("una"),     QStringLiteral("de"),
    QStringLiteral("año"),   QStringLiteral("canción"), QStringLiteral("título"),
    QStringLiteral("enviar")};

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
    const SpellDictionary dictionary{name, m_folder.filePath(name + QStringLiteral(".aff")),
                                     m_folder.filePath(name + QStringLiteral(".dic"))};
    QFile affix(dictionary.affixPath);
    if (affix.open(QIODevice::WriteOnly))
        affix.write("SET " + encoding + "\nTRY " +
                    QByteArray(encoder.encode(QStringLiteral("aeioucnrstlmdpbgyzñáéíóú"))) + "\n");
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
    m_small = writeDictionary(QStringLiteral("pequeno"), "UTF-8", SmallWords);
}

void TestSpelling::words_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("tag and attribute names skipped")
        << QStringLiteral("<p class=\"rojo\">hola mundo</p>") << QStringList{"hola", "mundo"};
    QTest::newRow("alt and title read, src skipped")
        << QStringLiteral("<img src=\"foto.gif\" alt=\"una casa\" title='el perro'>")
        << QStringList{"una", "casa", "el", "perro"};
    QTest::newRow("unquoted value read, name skipped")
        << QStringLiteral("<input type=submit VALUE=Enviar name=boton>") << QStringList{"Enviar"};
    QTest::newRow("comment skipped") << QStringLiteral("antes<!-- nada <b>aqui</b> -->despues")
                                     << QStringList{"antes", "despues"};
    QTest::newRow("script and style contents skipped")
        << QStringLiteral("<script>var palabra = \"<b>\";</script><STYLE>p {color: red}</style>fin")
        << QStringList{"fin"};
    QTest::newRow("server block skipped")
        << QStringLiteral("<% Response.Write \"hola\" %>texto") << QStringList{"texto"};
    QTest::newRow("server block with quotes inside a value")
        << QStringLiteral("<input value=\"<%=Request(\"nombre\")%> casa\">") << QStringList{"casa"};
    QTest::newRow("entities decoded inside the word")
        << QStringLiteral("canci&oacute;n a&#241;o a&#xF1;o")
        << QStringList{"canción", "año", "año"};
    QTest::newRow("unknown entity, nbsp and amp separate words")
        << QStringLiteral("uno&zzz;dos&nbsp;tres&amp;cuatro")
        << QStringList{"uno", "dos", "tres", "cuatro"};
    QTest::newRow("lone ampersand and less-than are text")
        << QStringLiteral("uno & dos < b") << QStringList{"uno", "dos", "b"};
    QTest::newRow("words glued to digits skipped")
        << QStringLiteral("h1 mp3 2x casa") << QStringList{"casa"};
    QTest::newRow("mail and web addresses skipped")
        << QStringLiteral("escribe a yo@sitio.com o www.sitio.com")
        << QStringList{"escribe", "a", "o"};
    QTest::newRow("apostrophe inside a word, not around it")
        << QStringLiteral("l'eau 'casa'") << QStringList{"l'eau", "casa"};
    QTest::newRow("unterminated tag reads nothing more")
        << QStringLiteral("hola <b class=\"x y z") << QStringList{"hola"};
    QTest::newRow("letters beyond the basic plane")
        << QStringLiteral("x\U0001D49Cy") << QStringList{"x\U0001D49Cy"};
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
    EditingSurface view;
    FakePrompts prompts;
    view.page().setText(QStringLiteral("zendral y csa"));
    whenModalOpens([](QWidget &dialog) {
        click(&dialog, QStringLiteral("btnagregar"));
        click(&dialog, QStringLiteral("btnignorar"));
    });
    check.run(view.page(), prompts, nullptr);
    QCOMPARE(check.addedWords(), QStringList{"zendral"});

    // A later check, with a dictionary loaded afresh, still accepts the word.
    view.page().setText(QStringLiteral("otra vez zendral"));
    whenModalOpens([](QWidget &dialog) {
        // "otra" and "vez" are unknown to the small dictionary; "zendral" must not come up.
        QVERIFY(child<QLineEdit>(&dialog, QStringLiteral("txtcambiar"))->text() !=
                QStringLiteral("zendral"));
        click(&dialog, QStringLiteral("btnignorartodas"));
        click(&dialog, QStringLiteral("btnignorartodas"));
        QVERIFY(!dialog.isVisible());
    });
    check.run(view.page(), prompts, nullptr);
    QCOMPARE(view.page().text(), QStringLiteral("otra vez zendral"));
}

void TestSpelling::context()
{
    SpellEngineFailure failure;
    auto engine = HunspellEngine::open(m_small, &failure);
    QVERIFY(engine);
    QStringList added;
    const QString longLine(100, u'-');
    SpellingSession session(QStringLiteral("el perro\r\n") + longLine +
                                QStringLiteral(" la csa azul\r\nel gato"),
                            *engine, added);
    QCOMPARE(session.word(), QStringLiteral("csa"));
    QVERIFY(session.contextBefore().endsWith(QStringView(u" la ")));
    QCOMPARE(session.contextBefore().size(), SpellingSession::ContextLength);
    QCOMPARE(session.contextAfter(), QStringLiteral(" azul"));
    QCOMPARE(session.suggestions().value(0), QStringLiteral("casa"));
    // A line shorter than the context shows from its own start, nothing of the line before.
    SpellingSession shortLine(QStringLiteral("el perro\r\nla csa"), *engine, added);
    QCOMPARE(shortLine.contextBefore(), QStringLiteral("la "));
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

    const SpellDictionary dictionary =
        writeDictionary(QStringLiteral("codificado"), encoding, SmallWords);
    SpellEngineFailure failure;
    auto engine = HunspellEngine::open(dictionary, &failure);
    QVERIFY(engine);
    QCOMPARE(engine->encoding(), encoding);
    QVERIFY(engine->check(QStringLiteral("año")));
    QVERIFY(engine->check(QStringLiteral("canción")));
    QVERIFY(!engine->check(QStringLiteral("cancion")));
    QVERIFY(engine->suggest(QStringLiteral("cancion")).contains(QStringLiteral("canción")));
    // A letter the dictionary's encoding cannot hold makes an unknown word, not a wrong match.
    QVERIFY(!engine->check(QStringLiteral("caŝa")));
    engine->add(QStringLiteral("pingüino"));
    QVERIFY(engine->check(QStringLiteral("pingüino")));
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
    QFile hyphenation(folder.filePath(QStringLiteral("hyph_es.dic")));
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
        << QString() << ENOENT << QStringLiteral("el diccionario de Hunspell");
    QTest::newRow("affix file gone")
        << QStringLiteral("ido.aff") << ENOENT << QStringLiteral("%1/ido.aff");
    QTest::newRow("folder in place of the word list")
        << QStringLiteral("carpeta.dic") << EISDIR << QStringLiteral("%1/carpeta.dic");
}

void TestSpelling::failureNotice()
{
    QFETCH(QString, missing);
    QFETCH(int, number);
    QFETCH(QString, what);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    std::vector<SpellDictionary> dictionaries;
    if (missing.endsWith(QStringView(u".aff"))) {
        dictionaries.push_back(
            {QStringLiteral("ido"), folder.filePath(missing), m_small.wordsPath});
    } else if (missing.endsWith(QStringView(u".dic"))) {
        QVERIFY(QDir(folder.path()).mkdir(missing));
        dictionaries.push_back(
            {QStringLiteral("carpeta"), m_small.affixPath, folder.filePath(missing)});
    }
    SpellingCheck check(dictionaries);
    EditingSurface view;
    view.page().setText(QStringLiteral("la csa\r\nazul"));
    view.page().setSelectionStart(3);
    FakePrompts prompts;
    check.run(view.page(), prompts, nullptr);

    if (what.contains(QStringView(u"%1")))
        what = what.arg(folder.path());
    const QString notice = QStringLiteral("Error %1 al abrir %2.\r\n%3")
                               .arg(QString::number(number), what, errorReason(number));
    QCOMPARE(prompts.notices, QStringList{notice});
    QCOMPARE(view.page().text(), QStringLiteral("la csa\r\nazul"));
    QCOMPARE(view.page().selectionStart(), 3);
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
        << QStringLiteral("<p class=\"xyz\">la casa azul</p>\r\n") << QStringList() << QString()
        << QStringLiteral("No se ha encontrado ninguna palabra mal escrita.");
    QTest::newRow("everything ignored: page, colours and saved state kept")
        << QStringLiteral("<p>la csa</p>") << QStringList{"btnignorar"} << QString() << QString();
    QTest::newRow("closed early keeps the corrections made")
        << QStringLiteral("csa prro") << QStringList{"txtcambiar=cosa", "btncambiar", "btncerrar"}
        << QStringLiteral("cosa prro") << QString();
    QTest::newRow("switching to a missing dictionary keeps the other")
        << QStringLiteral("csa prro") << QStringList{"cmbdiccionario=1", "btncambiar", "btncambiar"}
        << QStringLiteral("casa perro") << QStringLiteral("Error 2 al abrir ");
    QTest::newRow("change all reaches every later occurrence")
        << QStringLiteral("csa y csa<br>\r\n<b>csa</b>")
        << QStringList{"offer=casa", "btncambiartodas"}
        << QStringLiteral("casa y casa<br>\r\n<b>casa</b>") << QString();
    QTest::newRow("change all keeps an occurrence already ignored")
        << QStringLiteral("csa y csa y csa")
        << QStringList{"btnignorar", "txtcambiar=casa", "btncambiartodas"}
        << QStringLiteral("csa y casa y casa") << QString();
    QTest::newRow("ignore all passes later occurrences")
        << QStringLiteral("csa y csa perrro")
        << QStringList{"btnignorartodas", "txtcambiar=perro", "btncambiar"}
        << QStringLiteral("csa y csa perro") << QString();
    QTest::newRow("entity word corrected in entity form")
        << QStringLiteral("la canci&oacute;nn") << QStringList{"txtcambiar=canción", "btncambiar"}
        << QStringLiteral("la canci&oacute;n") << QString();
    QTest::newRow("page writing accents as entities gets entities")
        << QStringLiteral("el a&ntilde;o cancion")
        << QStringList{"txtcambiar=canción", "btncambiar"}
        << QStringLiteral("el a&ntilde;o canci&oacute;n") << QString();
    QTest::newRow("quote in a correction cannot end the attribute")
        << QStringLiteral("<img alt=\"csa\">") << QStringList{"txtcambiar=casa\"", "btncambiar"}
        << QStringLiteral("<img alt=\"casa&quot;\">") << QString();
    QTest::newRow("blank in a correction cannot end an unquoted value")
        << QStringLiteral("<img alt=csa>") << QStringList{"txtcambiar=una casa", "btncambiar"}
        << QStringLiteral("<img alt=una&#32;casa>") << QString();
    QTest::newRow("markup typed as a correction stays text")
        << QStringLiteral("csa") << QStringList{"txtcambiar=<b>casa</b>", "btncambiar"}
        << QStringLiteral("&lt;b&gt;casa&lt;/b&gt;") << QString();
    QTest::newRow("CR LF line ends come back as they went")
        << QStringLiteral("la csa\r\nazul\r\n\r\nprro\r\n")
        << QStringList{"txtcambiar=casa", "btncambiar", "txtcambiar=perro", "btncambiar"}
        << QStringLiteral("la casa\r\nazul\r\n\r\nperro\r\n") << QString();
}

void TestSpelling::dialog()
{
    QFETCH(QString, page);
    QFETCH(QStringList, actions);
    QFETCH(QString, corrected);
    QFETCH(QString, notice);

    const SpellDictionary gone{QStringLiteral("ido"), m_folder.filePath(QStringLiteral("ido.aff")),
                               m_folder.filePath(QStringLiteral("ido.dic"))};
    SpellingCheck check({m_small, gone});
    EditingSurface view;
    InsertTagText(view.page(), page, colours::Blue);
    QSignalSpy changes(&view.page(), &PageText::changed);
    FakePrompts prompts;
    whenModalOpens([&](QWidget &dialog) {
        for (const QString &action : actions) {
            const QString name = action.section(u'=', 0, 0);
            const QString value = action.section(u'=', 1);
            if (name == u"offer") {
                QCOMPARE(child<QLineEdit>(&dialog, QStringLiteral("txtcambiar"))->text(), value);
                auto *list = child<QListWidget>(&dialog, QStringLiteral("lstsugerencias"));
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
    check.run(view.page(), prompts, nullptr);
    QCOMPARE(view.page().text(), corrected.isEmpty() ? page : corrected);
    // A page the check did not change keeps its colours and has not changed for the saved path.
    QCOMPARE(changes.count(), corrected.isEmpty() ? 0 : 1);
    if (corrected.isEmpty())
        QCOMPARE(view.page().colourAt(1), colours::Blue);
    QCOMPARE(prompts.notices.size(), notice.isEmpty() ? 0 : 1);
    if (!notice.isEmpty())
        QVERIFY(prompts.notices.first().startsWith(notice));
}

QTEST_MAIN(TestSpelling)
#include "tst_spelling.moc"
