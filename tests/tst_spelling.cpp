#include "colouring.h"
#include "documentfile.h"
#include "editingsurface.h"
#include "editorevents.h"
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

// "a b c" as a list; "" is none.
QStringList split(const char *words)
{
    return QString::fromUtf8(words).split(u' ', Qt::SkipEmptyParts);
}

const QStringList SmallWords =
    split("la el casa azul perro gato y una de año canción título enviar");

} // namespace

class TestSpelling : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void words_data();
    void words();
    void addedWordsLastTheRun();
    void engine_data();
    void engine();
    void dialog_data();
    void dialog();

private:
    SpellDictionary writeDictionary(const QString &name, const QByteArray &encoding);

    QTemporaryDir m_folder;
    SpellDictionary m_small;
};

SpellDictionary TestSpelling::writeDictionary(const QString &name, const QByteArray &encoding)
{
    QStringEncoder encoder(encoding == "UTF-8" ? "UTF-8" : "ISO-8859-1");
    const SpellDictionary dictionary{name, m_folder.filePath(name + ".aff"),
                                     m_folder.filePath(name + ".dic")};
    writeBytes(dictionary.affixPath,
               "SET " + encoding + "\nTRY " + encoder.encode(u"aeioucnrstlmdpbgyzñáéíóú\n"));
    writeBytes(dictionary.wordsPath, encoder.encode(QString::number(SmallWords.size()) + u'\n' +
                                                    SmallWords.join(u'\n') + u'\n'));
    return dictionary;
}

void TestSpelling::initTestCase()
{
    m_small = writeDictionary("pequeno", "UTF-8");
    QVERIFY(QDir(m_folder.path()).mkdir("carpeta.dic"));
}

void TestSpelling::words_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("words");
    const auto row = [](const char *name, const char *page, const char *words) {
        QTest::newRow(name) << QString::fromUtf8(page) << split(words);
    };
    row("tag and attribute names skipped", "<p class=\"rojo\">hola mundo</p>", "hola mundo");
    row("alt and title read, src skipped",
        "<img src=\"foto.gif\" alt=\"una casa\" title='el perro'>", "una casa el perro");
    row("unquoted value read, name skipped", "<input type=submit VALUE=Enviar name=boton>",
        "Enviar");
    row("comment skipped", "antes<!-- nada <b>aqui</b> -->despues", "antes despues");
    row("script and style contents skipped",
        "<script>var palabra = \"<b>\";</script><STYLE>p {color: red}</style>fin", "fin");
    row("server block skipped", "<% Response.Write \"hola\" %>texto", "texto");
    row("server block with quotes inside a value",
        "<input value=\"<%=Request(\"nombre\")%> casa\">", "casa");
    row("entities decoded inside the word", "canci&oacute;n a&#241;o a&#xF1;o", "canción año año");
    row("unknown entity, nbsp and amp separate words", "uno&zzz;dos&nbsp;tres&amp;cuatro",
        "uno dos tres cuatro");
    row("lone ampersand and less-than are text", "uno & dos < b", "uno dos b");
    row("words glued to digits skipped", "h1 mp3 2x casa", "casa");
    row("mail and web addresses skipped", "escribe a yo@sitio.com o www.sitio.com", "escribe a o");
    row("apostrophe inside a word, not around it", "l'eau 'casa'", "l'eau casa");
    row("unterminated tag reads nothing more", "hola <b class=\"x y z", "hola");
    row("letters beyond the basic plane", "x\U0001D49Cy", "x\U0001D49Cy");
}

void TestSpelling::words()
{
    QFETCH(QString, page);
    QFETCH(QStringList, words);
    QStringList found;
    // Each word as the page writes it at its place, entities decoded.
    for (const ReadableWord &word : readableWords(page))
        found.append(word.word.size() == word.length ? page.mid(word.start, word.length)
                                                     : word.word);
    QCOMPARE(found, words);
}

void TestSpelling::addedWordsLastTheRun()
{
    // The list of added words cannot be written under a file: the word serves this run only,
    // and the user is told so.
    const QString list = m_folder.filePath("pequeno.aff/palabras.dic");
    SpellingCheck check({m_small}, list);
    EditingSurface view;
    FakePrompts prompts;
    view.page().setText("zendral y csa");
    whenModalOpens([](QWidget &dialog) {
        click(&dialog, "btnagregar");
        click(&dialog, "btnignorar");
    });
    check.run(view.page(), prompts, nullptr);
    QCOMPARE(check.addedWords(), QStringList{"zendral"});
    QCOMPARE(prompts.notices, QStringList{"No se pudo escribir la lista de palabras agregadas \"" +
                                          list + "\": las palabras nuevas valen solo hasta que "
                                                 "se cierre el programa."});

    // A later check, with a dictionary loaded afresh, still accepts the word: only "otra" and
    // "vez" come up.
    view.page().setText("otra vez zendral");
    whenModalOpens([](QWidget &dialog) {
        click(&dialog, "btnignorartodas");
        click(&dialog, "btnignorartodas");
        QVERIFY(!dialog.isVisible());
    });
    check.run(view.page(), prompts, nullptr);
}

void TestSpelling::engine_data()
{
    QTest::addColumn<QByteArray>("encoding");
    QTest::newRow("UTF-8 dictionary") << QByteArray("UTF-8");
    QTest::newRow("Latin-1 dictionary") << QByteArray("ISO8859-1");
}

void TestSpelling::engine()
{
    QFETCH(QByteArray, encoding);
    SpellEngineFailure failure;
    auto engine = HunspellEngine::open(writeDictionary("codificado", encoding), &failure);
    QVERIFY(engine);
    QCOMPARE(engine->encoding(), encoding);
    QVERIFY(engine->check("año") && engine->check("canción") && !engine->check("cancion"));
    QVERIFY(engine->suggest("cancion").contains("canción"));
    // A letter the dictionary's encoding cannot hold makes an unknown word, not a wrong match.
    QVERIFY(!engine->check("caŝa"));
    QStringList added;
    SpellingSession session("el perro\r\n" + QString(100, u'-') + " la csa azul\r\nel gato",
                            *engine, added);
    QCOMPARE(session.word(), "csa");
    QVERIFY(session.contextBefore().endsWith(u" la "));
    QCOMPARE(session.contextBefore().size(), SpellingSession::ContextLength);
    QCOMPARE(session.contextAfter(), " azul");
    QCOMPARE(session.suggestions().value(0), "casa");
    // A line shorter than the context shows from its own start, nothing of the line before.
    QCOMPARE(SpellingSession("el perro\r\nla csa", *engine, added).contextBefore(), "la ");
    engine->add("pingüino");
    QVERIFY(engine->check("pingüino"));
}

void TestSpelling::dialog_data()
{
    QTest::addColumn<QString>("page");
    // In the dialog, in order: "offer=<word>" checks the word offered and suggested,
    // "<box or list>=<value>" sets it, anything else is a button clicked.
    QTest::addColumn<QStringList>("actions");
    // Empty: the page as it was.
    QTest::addColumn<QString>("corrected");
    // The one notice shown, %1 for the dictionaries' folder, %2 for the error's reason.
    QTest::addColumn<QString>("notice");
    // Of "pequeno", "ido" (its affix file gone), "carpeta" (a folder for its word list).
    QTest::addColumn<QStringList>("dictionaries");
    const auto row = [](const char *name, const char *page, const char *actions,
                        const char *corrected, const char *notice = "",
                        const char *dictionaries = "pequeno ido") {
        QTest::newRow(name) << QString::fromUtf8(page)
                            << QString::fromUtf8(actions).split(u'|', Qt::SkipEmptyParts)
                            << QString::fromUtf8(corrected) << QString::fromUtf8(notice)
                            << split(dictionaries);
    };
    row("no dictionary installed", "la csa", "", "",
        "Error 2 al abrir el diccionario de Hunspell.\r\n%2", "");
    row("affix file gone", "la csa", "", "", "Error 2 al abrir %1/ido.aff.\r\n%2", "ido");
    row("folder in place of the word list", "la csa", "", "",
        "Error 21 al abrir %1/carpeta.dic.\r\n%2", "carpeta");
    row("nothing misspelled: told, page, colours and saved state kept",
        "<p class=\"xyz\">la casa azul</p>\r\n", "", "",
        "No se ha encontrado ninguna palabra mal escrita.");
    row("everything ignored: page, colours and saved state kept", "<p>la csa</p>", "btnignorar",
        "");
    row("closed early keeps the corrections made", "csa prro",
        "txtcambiar=cosa|btncambiar|btncerrar", "cosa prro");
    row("switching to a missing dictionary keeps the other", "csa prro",
        "cmbdiccionario=1|btncambiar|btncambiar", "casa perro",
        "Error 2 al abrir %1/ido.aff.\r\n%2");
    row("change all reaches every later occurrence", "csa y csa<br>\r\n<b>csa</b>",
        "offer=casa|btncambiartodas", "casa y casa<br>\r\n<b>casa</b>");
    row("change all keeps an occurrence already ignored", "csa y csa y csa",
        "btnignorar|txtcambiar=casa|btncambiartodas", "csa y casa y casa");
    row("ignore all passes later occurrences", "csa y csa perrro",
        "btnignorartodas|txtcambiar=perro|btncambiar", "csa y csa perro");
    row("entity word corrected in entity form", "la canci&oacute;nn",
        "txtcambiar=canción|btncambiar", "la canci&oacute;n");
    row("page writing accents as entities gets entities", "el a&ntilde;o cancion",
        "txtcambiar=canción|btncambiar", "el a&ntilde;o canci&oacute;n");
    row("quote in a correction cannot end the attribute", "<img alt=\"csa\">",
        "txtcambiar=casa\"|btncambiar", "<img alt=\"casa&quot;\">");
    row("blank or quote in a correction cannot end an unquoted value", "<img alt=csa>",
        "txtcambiar=una \"casa|btncambiar", "<img alt=una&#32;&quot;casa>");
    row("markup typed as a correction stays text", "csa", "txtcambiar=<b>casa</b>|btncambiar",
        "&lt;b&gt;casa&lt;/b&gt;");
    row("CR LF line ends come back as they went", "la csa\r\nazul\r\n\r\nprro\r\n",
        "txtcambiar=casa|btncambiar|txtcambiar=perro|btncambiar",
        "la casa\r\nazul\r\n\r\nperro\r\n");
}

void TestSpelling::dialog()
{
    QFETCH(QString, page);
    QFETCH(QStringList, actions);
    QFETCH(QString, corrected);
    QFETCH(QString, notice);
    QFETCH(QStringList, dictionaries);
    const QHash<QString, SpellDictionary> known{
        {"pequeno", m_small},
        {"ido", {"ido", m_folder.filePath("ido.aff"), m_small.wordsPath}},
        {"carpeta", {"carpeta", m_small.affixPath, m_folder.filePath("carpeta.dic")}}};
    std::vector<SpellDictionary> chosen;
    for (const QString &name : dictionaries)
        chosen.push_back(known.value(name));
    SpellingCheck check(chosen);
    EditingSurface view;
    EditorEvents events(view.page(), TablaEtiquetas(), {});
    InsertTagText(view.page(), page, colours::Blue);
    QSignalSpy changes(&view.page(), &PageText::changed);
    FakePrompts prompts;
    if (!actions.isEmpty())
        whenModalOpens([&](QWidget &dialog) {
            for (const QString &action : actions) {
                const QString name = action.section(u'=', 0, 0);
                const QString value = action.section(u'=', 1);
                if (name == u"offer") {
                    QCOMPARE(child<QLineEdit>(&dialog, "txtcambiar")->text(), value);
                    QVERIFY(!child<QListWidget>(&dialog, "lstsugerencias")
                                 ->findItems(value, Qt::MatchExactly)
                                 .isEmpty());
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
    // A changed page was left all black, tags included: it is coloured as opening colours it.
    for (const ColourSpan &span : planColours(corrected, TablaEtiquetas()).spans)
        QCOMPARE(view.page().colourAt(span.start), span.colour);
    // The whole session's corrections are one step back.
    if (!corrected.isEmpty()) {
        events.history().DeshacerComando();
        QCOMPARE(view.page().text(), page);
    }
    notice.replace(QStringLiteral("%1"), m_folder.path())
        .replace(QStringLiteral("%2"), errorReason(notice.section(QLatin1Char(' '), 1, 1).toInt()));
    QCOMPARE(prompts.notices, notice.isEmpty() ? QStringList() : QStringList{notice});
}

QTEST_MAIN(TestSpelling)
#include "tst_spelling.moc"
