#include "documentfile.h"
#include "editingsurface.h"
#include "hunspellengine.h"
#include "readablewords.h"
#include "spelldictionary.h"
#include "spellingcheck.h"
#include "spellingsession.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <functional>

using namespace zendral;

namespace {

const QStringList SmallWords = {
    QStringLiteral("la"),    QStringLiteral("el"),      QStringLiteral("casa"),
    QStringLiteral("azul"),  QStringLiteral("perro"),   QStringLiteral("gato"),
    QStringLiteral("y"),     QStringLiteral("una"),     QStringLiteral("de"),
    QStringLiteral("año"),   QStringLiteral("canción"), QStringLiteral("título"),
    QStringLiteral("enviar")};

// Runs the script on whatever modal dialog is open once the event loop spins.
void whenDialogOpens(std::function<void(QDialog &)> script)
{
    QTimer::singleShot(0, [script] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        script(*dialog);
        // A failed check inside the script must not leave the test waiting on the dialog.
        if (dialog->isVisible())
            dialog->reject();
    });
}

void click(QDialog &dialog, const char *objectName)
{
    auto *button = dialog.findChild<QPushButton *>(QLatin1String(objectName));
    if (button)
        button->click();
}

} // namespace

class TestSpelling : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void words_data();
    void words();

    void decisions_data();
    void decisions();
    void addedWordsLastTheRun();
    void context();

    void encodings_data();
    void encodings();
    void dictionaryOrder();

    void failureNotice_data();
    void failureNotice();
    void nothingMisspelled();
    void dialogCorrectsThePage();
    void dialogClosedEarly();
    void switchingToAMissingDictionaryKeepsTheOther();

    void spanishDictionary();

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
        << QStringLiteral("<p class=\"rojo\">hola mundo</p>")
        << QStringList{QStringLiteral("hola"), QStringLiteral("mundo")};
    QTest::newRow("alt and title read, src skipped")
        << QStringLiteral("<img src=\"foto.gif\" alt=\"una casa\" title='el perro'>")
        << QStringList{QStringLiteral("una"), QStringLiteral("casa"), QStringLiteral("el"),
                       QStringLiteral("perro")};
    QTest::newRow("unquoted value read, name skipped")
        << QStringLiteral("<input type=submit VALUE=Enviar name=boton>")
        << QStringList{QStringLiteral("Enviar")};
    QTest::newRow("colour and address values skipped")
        << QStringLiteral("<body bgcolor=\"Navy\"><a href=\"pagina.htm\">ir</a>")
        << QStringList{QStringLiteral("ir")};
    QTest::newRow("comment skipped")
        << QStringLiteral("antes<!-- nada <b>aqui</b> -->despues")
        << QStringList{QStringLiteral("antes"), QStringLiteral("despues")};
    QTest::newRow("script and style contents skipped")
        << QStringLiteral("<script>var palabra = \"<b>\";</script><STYLE>p {color: red}</style>fin")
        << QStringList{QStringLiteral("fin")};
    QTest::newRow("server block skipped") << QStringLiteral("<% Response.Write \"hola\" %>texto")
                                          << QStringList{QStringLiteral("texto")};
    QTest::newRow("server block with quotes inside a value")
        << QStringLiteral("<input value=\"<%=Request(\"nombre\")%> casa\">")
        << QStringList{QStringLiteral("casa")};
    QTest::newRow("named entity decoded inside the word")
        << QStringLiteral("canci&oacute;n") << QStringList{QStringLiteral("canción")};
    QTest::newRow("numeric entities decoded")
        << QStringLiteral("a&#241;o a&#xF1;o")
        << QStringList{QStringLiteral("año"), QStringLiteral("año")};
    QTest::newRow("unknown entity splits and is skipped")
        << QStringLiteral("uno&zzz;dos")
        << QStringList{QStringLiteral("uno"), QStringLiteral("dos")};
    QTest::newRow("nbsp and amp separate words")
        << QStringLiteral("uno&nbsp;dos&amp;tres")
        << QStringList{QStringLiteral("uno"), QStringLiteral("dos"), QStringLiteral("tres")};
    QTest::newRow("lone ampersand is text")
        << QStringLiteral("uno & dos") << QStringList{QStringLiteral("uno"), QStringLiteral("dos")};
    QTest::newRow("less-than that opens nothing is text")
        << QStringLiteral("a < b") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("words glued to digits skipped")
        << QStringLiteral("h1 mp3 2x casa") << QStringList{QStringLiteral("casa")};
    QTest::newRow("mail and web addresses skipped")
        << QStringLiteral("escribe a yo@sitio.com o www.sitio.com")
        << QStringList{QStringLiteral("escribe"), QStringLiteral("a"), QStringLiteral("o")};
    QTest::newRow("apostrophe inside a word")
        << QStringLiteral("l'eau") << QStringList{QStringLiteral("l'eau")};
    QTest::newRow("unterminated tag reads nothing more")
        << QStringLiteral("hola <b class=\"x y z") << QStringList{QStringLiteral("hola")};
    QTest::newRow("doctype skipped") << QStringLiteral("<!DOCTYPE html PUBLIC \"algo\">hola")
                                     << QStringList{QStringLiteral("hola")};
    QTest::newRow("closing tag skipped")
        << QStringLiteral("uno</font >dos")
        << QStringList{QStringLiteral("uno"), QStringLiteral("dos")};
    QTest::newRow("letters beyond the basic plane")
        << QStringLiteral("x\U0001D49Cy") << QStringList{QStringLiteral("x\U0001D49Cy")};
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

void TestSpelling::decisions_data()
{
    QTest::addColumn<QString>("page");
    // Each step is "ignore", "ignoreAll", "add", "change:<word>", "changeAll:<word>" or
    // "close"; the session is left as it stands after the last one.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("corrected");

    QTest::newRow("change one occurrence")
        << QStringLiteral("la csa azul") << QStringList{QStringLiteral("change:casa")}
        << QStringList{QStringLiteral("csa")} << QStringLiteral("la casa azul");
    QTest::newRow("change all reaches every later occurrence")
        << QStringLiteral("csa y csa<br>\r\n<b>csa</b>")
        << QStringList{QStringLiteral("changeAll:casa")} << QStringList{QStringLiteral("csa")}
        << QStringLiteral("casa y casa<br>\r\n<b>casa</b>");
    QTest::newRow("change all keeps an occurrence already ignored")
        << QStringLiteral("csa y csa y csa")
        << QStringList{QStringLiteral("ignore"), QStringLiteral("changeAll:casa")}
        << QStringList{QStringLiteral("csa"), QStringLiteral("csa")}
        << QStringLiteral("csa y casa y casa");
    QTest::newRow("ignore all passes later occurrences")
        << QStringLiteral("csa y csa perrro")
        << QStringList{QStringLiteral("ignoreAll"), QStringLiteral("change:perro")}
        << QStringList{QStringLiteral("csa"), QStringLiteral("perrro")}
        << QStringLiteral("csa y csa perro");
    QTest::newRow("ignore stops again at the next occurrence")
        << QStringLiteral("csa y csa")
        << QStringList{QStringLiteral("ignore"), QStringLiteral("ignore")}
        << QStringList{QStringLiteral("csa"), QStringLiteral("csa")} << QStringLiteral("csa y csa");
    QTest::newRow("early close keeps corrections made")
        << QStringLiteral("csa prro gatto")
        << QStringList{QStringLiteral("change:casa"), QStringLiteral("close")}
        << QStringList{QStringLiteral("csa"), QStringLiteral("prro")}
        << QStringLiteral("casa prro gatto");
    QTest::newRow("alt value corrected in place")
        << QStringLiteral("<img src=\"csa.gif\" alt=\"una csa\">")
        << QStringList{QStringLiteral("change:casa")} << QStringList{QStringLiteral("csa")}
        << QStringLiteral("<img src=\"csa.gif\" alt=\"una casa\">");
    QTest::newRow("title value corrected in place")
        << QStringLiteral("<a title='el prro'>el perro</a>")
        << QStringList{QStringLiteral("change:perro")} << QStringList{QStringLiteral("prro")}
        << QStringLiteral("<a title='el perro'>el perro</a>");
    QTest::newRow("markup never stopped at")
        << QStringLiteral("<tabel bgcolr=\"#fff\"><td>casa</td><!-- csa --><% csa %>")
        << QStringList{} << QStringList{}
        << QStringLiteral("<tabel bgcolr=\"#fff\"><td>casa</td><!-- csa --><% csa %>");
    QTest::newRow("entity word corrected in entity form")
        << QStringLiteral("la canci&oacute;nn") << QStringList{QStringLiteral("change:canción")}
        << QStringList{QStringLiteral("canciónn")} << QStringLiteral("la canci&oacute;n");
    QTest::newRow("entity word accepted once decoded")
        << QStringLiteral("el a&ntilde;o de la canci&#243;n") << QStringList{} << QStringList{}
        << QStringLiteral("el a&ntilde;o de la canci&#243;n");
    QTest::newRow("page writing accents as entities gets entities")
        << QStringLiteral("el a&ntilde;o cancion") << QStringList{QStringLiteral("change:canción")}
        << QStringList{QStringLiteral("cancion")} << QStringLiteral("el a&ntilde;o canci&oacute;n");
    QTest::newRow("page writing accents plainly gets plain letters")
        << QStringLiteral("el año cancion") << QStringList{QStringLiteral("change:canción")}
        << QStringList{QStringLiteral("cancion")} << QStringLiteral("el año canción");
    QTest::newRow("quote in a correction cannot end the attribute")
        << QStringLiteral("<img alt=\"csa\">") << QStringList{QStringLiteral("change:casa\"")}
        << QStringList{QStringLiteral("csa")} << QStringLiteral("<img alt=\"casa&quot;\">");
    QTest::newRow("blank in a correction cannot end an unquoted value")
        << QStringLiteral("<img alt=csa>") << QStringList{QStringLiteral("change:una casa")}
        << QStringList{QStringLiteral("csa")} << QStringLiteral("<img alt=una&#32;casa>");
    QTest::newRow("markup typed as a correction stays text")
        << QStringLiteral("csa") << QStringList{QStringLiteral("change:<b>casa</b>")}
        << QStringList{QStringLiteral("csa")} << QStringLiteral("&lt;b&gt;casa&lt;/b&gt;");
    QTest::newRow("empty correction deletes the word")
        << QStringLiteral("la csa") << QStringList{QStringLiteral("change:")}
        << QStringList{QStringLiteral("csa")} << QStringLiteral("la ");
    QTest::newRow("CR LF line ends come back as they went")
        << QStringLiteral("la csa\r\nazul\r\n\r\nprro\r\n")
        << QStringList{QStringLiteral("change:casa"), QStringLiteral("change:perro")}
        << QStringList{QStringLiteral("csa"), QStringLiteral("prro")}
        << QStringLiteral("la casa\r\nazul\r\n\r\nperro\r\n");
    QTest::newRow("longer and shorter corrections keep later words in place")
        << QStringLiteral("csa prrooooo gto")
        << QStringList{QStringLiteral("change:casa"), QStringLiteral("change:perro"),
                       QStringLiteral("change:gato")}
        << QStringList{QStringLiteral("csa"), QStringLiteral("prrooooo"), QStringLiteral("gto")}
        << QStringLiteral("casa perro gato");
    QTest::newRow("added word not stopped at again")
        << QStringLiteral("zendral y zendral") << QStringList{QStringLiteral("add")}
        << QStringList{QStringLiteral("zendral")} << QStringLiteral("zendral y zendral");
}

void TestSpelling::decisions()
{
    QFETCH(QString, page);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, shown);
    QFETCH(QString, corrected);

    SpellEngineFailure failure;
    auto engine = HunspellEngine::open(m_small, &failure);
    QVERIFY(engine);
    QStringList added;
    SpellingSession session(page, *engine, added);
    QStringList seen;
    for (const QString &step : steps) {
        QVERIFY2(!session.finished(), qPrintable(step));
        seen.append(session.word());
        QCOMPARE(session.sourceWord().isEmpty(), false);
        const QString argument = step.section(QLatin1Char(':'), 1);
        if (step == QLatin1String("ignore"))
            session.ignore();
        else if (step == QLatin1String("ignoreAll"))
            session.ignoreAll();
        else if (step == QLatin1String("add"))
            session.add();
        else if (step.startsWith(QLatin1String("changeAll:")))
            session.changeAll(argument);
        else if (step.startsWith(QLatin1String("change:")))
            session.change(argument);
        else if (step == QLatin1String("close"))
            break;
    }
    if (!steps.contains(QLatin1String("close")))
        QVERIFY(session.finished());
    QCOMPARE(seen, shown);
    QCOMPARE(session.text(), corrected);
}

void TestSpelling::addedWordsLastTheRun()
{
    SpellingCheck check({m_small});
    EditingSurface text1;
    test::FakePrompts prompts;
    text1.setText(QStringLiteral("zendral y csa"));
    whenDialogOpens([](QDialog &dialog) {
        click(dialog, "btnagregar");
        click(dialog, "btnignorar");
    });
    check.run(text1, prompts, nullptr);
    QCOMPARE(check.addedWords(), QStringList{QStringLiteral("zendral")});

    // A later check, with a dictionary loaded afresh, still accepts the word.
    text1.setText(QStringLiteral("otra vez zendral"));
    whenDialogOpens([](QDialog &dialog) {
        auto *replacement = dialog.findChild<QLineEdit *>(QStringLiteral("txtcambiar"));
        QVERIFY(replacement);
        // "otra" and "vez" are unknown to the small dictionary; "zendral" must not come up.
        QVERIFY(replacement->text() != QLatin1String("zendral"));
        click(dialog, "btnignorartodas");
        click(dialog, "btnignorartodas");
        QVERIFY(!dialog.isVisible());
    });
    check.run(text1, prompts, nullptr);
    QCOMPARE(text1.text(), QStringLiteral("otra vez zendral"));
}

void TestSpelling::context()
{
    SpellEngineFailure failure;
    auto engine = HunspellEngine::open(m_small, &failure);
    QVERIFY(engine);
    QStringList added;
    const QString longLine(100, QLatin1Char('-'));
    SpellingSession session(QStringLiteral("el perro\r\n") + longLine +
                                QStringLiteral(" la csa azul\r\nel gato"),
                            *engine, added);
    QCOMPARE(session.word(), QStringLiteral("csa"));
    QVERIFY(session.contextBefore().endsWith(QLatin1String(" la ")));
    QCOMPARE(session.contextBefore().size(), SpellingSession::ContextLength);
    QCOMPARE(session.contextAfter(), QStringLiteral(" azul"));
    QCOMPARE(session.suggestions().value(0), QStringLiteral("casa"));
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
    QCOMPARE(names,
             (QStringList{QStringLiteral("es_ES"), QStringLiteral("es_AR"), QStringLiteral("es_MX"),
                          QStringLiteral("de_DE"), QStringLiteral("en_US")}));
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
    if (missing.endsWith(QLatin1String(".aff"))) {
        dictionaries.push_back(
            {QStringLiteral("ido"), folder.filePath(missing), m_small.wordsPath});
    } else if (missing.endsWith(QLatin1String(".dic"))) {
        QVERIFY(QDir(folder.path()).mkdir(missing));
        dictionaries.push_back(
            {QStringLiteral("carpeta"), m_small.affixPath, folder.filePath(missing)});
    }
    SpellingCheck check(dictionaries);
    EditingSurface text1;
    text1.setText(QStringLiteral("la csa\r\nazul"));
    text1.setSelectionStart(3);
    test::FakePrompts prompts;
    check.run(text1, prompts, nullptr);

    if (what.contains(QLatin1String("%1")))
        what = what.arg(folder.path());
    const QString notice = QStringLiteral("Error %1 al abrir %2.\r\n%3")
                               .arg(QString::number(number), what, errorReason(number));
    QCOMPARE(prompts.notices, QStringList{notice});
    QCOMPARE(text1.text(), QStringLiteral("la csa\r\nazul"));
    QCOMPARE(text1.selectionStart(), 3);
}

void TestSpelling::nothingMisspelled()
{
    SpellingCheck check({m_small});
    EditingSurface text1;
    text1.setText(QStringLiteral("<p class=\"xyz\">la casa azul</p>\r\n"));
    test::FakePrompts prompts;
    check.run(text1, prompts, nullptr);
    QCOMPARE(prompts.notices,
             QStringList{QStringLiteral("No se ha encontrado ninguna palabra mal escrita.")});
    QCOMPARE(text1.text(), QStringLiteral("<p class=\"xyz\">la casa azul</p>\r\n"));
}

void TestSpelling::dialogCorrectsThePage()
{
    SpellingCheck check({m_small});
    EditingSurface text1;
    text1.setText(QStringLiteral("<p>la csa\r\nazul y csa</p>"));
    test::FakePrompts prompts;
    QString offered;
    QStringList suggestions;
    whenDialogOpens([&](QDialog &dialog) {
        offered = dialog.findChild<QLineEdit *>(QStringLiteral("txtcambiar"))->text();
        auto *list = dialog.findChild<QListWidget *>(QStringLiteral("lstsugerencias"));
        for (int row = 0; row < list->count(); ++row)
            suggestions.append(list->item(row)->text());
        click(dialog, "btncambiartodas");
    });
    check.run(text1, prompts, nullptr);
    QCOMPARE(offered, QStringLiteral("casa"));
    QVERIFY(suggestions.contains(QStringLiteral("casa")));
    QCOMPARE(text1.text(), QStringLiteral("<p>la casa\r\nazul y casa</p>"));
    QVERIFY(prompts.notices.isEmpty());
}

void TestSpelling::dialogClosedEarly()
{
    SpellingCheck check({m_small});
    EditingSurface text1;
    text1.setText(QStringLiteral("csa prro"));
    test::FakePrompts prompts;
    whenDialogOpens([](QDialog &dialog) {
        dialog.findChild<QLineEdit *>(QStringLiteral("txtcambiar"))
            ->setText(QStringLiteral("cosa"));
        click(dialog, "btncambiar");
        click(dialog, "btncerrar");
    });
    check.run(text1, prompts, nullptr);
    QCOMPARE(text1.text(), QStringLiteral("cosa prro"));
}

void TestSpelling::switchingToAMissingDictionaryKeepsTheOther()
{
    const SpellDictionary gone{QStringLiteral("ido"), m_folder.filePath(QStringLiteral("ido.aff")),
                               m_folder.filePath(QStringLiteral("ido.dic"))};
    SpellingCheck check({m_small, gone});
    EditingSurface text1;
    text1.setText(QStringLiteral("csa prro"));
    test::FakePrompts prompts;
    whenDialogOpens([](QDialog &dialog) {
        auto *list = dialog.findChild<QComboBox *>(QStringLiteral("cmbdiccionario"));
        QCOMPARE(list->count(), 2);
        emit list->activated(1);
        QCOMPARE(list->currentIndex(), 0);
        click(dialog, "btncambiar");
        click(dialog, "btncambiar");
    });
    check.run(text1, prompts, nullptr);
    QCOMPARE(prompts.notices.size(), 1);
    QVERIFY(prompts.notices.first().startsWith(QLatin1String("Error 2 al abrir ")));
    QCOMPARE(text1.text(), QStringLiteral("casa perro"));
}

void TestSpelling::spanishDictionary()
{
    const std::vector<SpellDictionary> installed = installedDictionaries();
    if (installed.empty() || installed.front().name != QLatin1String("es_ES"))
        QSKIP("The Spanish dictionary (hunspell-es) is not installed");
    SpellEngineFailure failure;
    auto engine = HunspellEngine::open(installed.front(), &failure);
    QVERIFY2(engine, qPrintable(failure.reason));
    for (const char *word : {"año", "canción", "Canción", "página", "también", "está"})
        QVERIFY2(engine->check(QString::fromUtf8(word)), word);
    QVERIFY(!engine->check(QStringLiteral("cancion")));
    QVERIFY(engine->suggest(QStringLiteral("cancion")).contains(QStringLiteral("canción")));
}

QTEST_MAIN(TestSpelling)
#include "tst_spelling.moc"
