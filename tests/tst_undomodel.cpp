#include "editingsurface.h"
#include "mainwindow.h"
#include "replacestring.h"
#include "testsupport.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTest>

#include <vector>

using namespace zendral;
using namespace zendral::test;

namespace {

// The editor's text as a plain string, changed step by step the way the editor defines each
// step: typed characters are recorded by their absolute position and never shifted by edits
// that are not recorded; undo writes the old text back at the recorded start over the length
// of the new text; redo writes the new text over the recorded selection.
class Oracle
{
public:
    QString text;
    qint64 start = 0;
    qint64 length = 0;
    QString clipboard;

    void select(qint64 from, qint64 count)
    {
        start = snap(from);
        length = snap(start + std::max<qint64>(count, 0)) - start;
    }
    void setText(const QString &newText)
    {
        text.clear();
        for (qsizetype i = 0; i < newText.size(); ++i) {
            text.append(newText.at(i));
            // A lone CR breaks the line as CR LF; a lone LF stays inside its line.
            if (newText.at(i) == u'\r' && !QStringView(newText).mid(i + 1).startsWith(u'\n'))
                text.append(u'\n');
        }
        start = length = 0;
    }
    void replaceSelection(const QString &with, bool exactly = false)
    {
        if (exactly) {
            text.replace(start, length, with);
            start += with.size();
            length = 0;
            return;
        }
        // Every kind of line end inserted becomes CR LF.
        QString inserted;
        for (qsizetype i = 0; i < with.size(); ++i) {
            const QChar c = with.at(i);
            if (c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator) {
                inserted.append(u"\r\n");
                if (c == u'\r' && QStringView(with).mid(i + 1).startsWith(u'\n'))
                    ++i;
            } else {
                inserted.append(c);
            }
        }
        text.replace(start, length, inserted);
        start += inserted.size();
        length = 0;
    }
    void type(const QString &character)
    {
        m_commands.resize(std::size_t(m_current));
        m_commands.push_back({start, length, character, text.mid(start, length)});
        m_current = qsizetype(m_commands.size());
        replaceSelection(character);
    }
    void undo()
    {
        if (m_current < 1)
            return;
        const Command &command = m_commands.at(std::size_t(--m_current));
        select(command.start, command.newText.size());
        // What was overwritten comes back as it was, a lone LF inside a line included.
        replaceSelection(command.oldText, true);
    }
    void redo()
    {
        if (m_current >= qsizetype(m_commands.size()))
            return;
        const Command &command = m_commands.at(std::size_t(m_current++));
        select(command.start, command.length);
        replaceSelection(command.newText);
    }
    void backspace()
    {
        if (length == 0 && start > 0) {
            length = unitLength(start - 1, -1);
            start -= length;
        }
        replaceSelection(QString());
    }
    void deleteForward()
    {
        if (length == 0)
            length = std::min<qint64>(unitLength(start, 1), text.size() - start);
        replaceSelection(QString());
    }

private:
    struct Command
    {
        qint64 start;
        qint64 length;
        QString newText;
        QString oldText;
    };

    // A position between the CR and the LF of a line break means the end of the line.
    qint64 snap(qint64 position) const
    {
        position = std::clamp<qint64>(position, 0, text.size());
        if (position > 0 && position < text.size() && text.at(position - 1) == u'\r' &&
            text.at(position) == u'\n')
            --position;
        return position;
    }
    // How many characters one key removes at index, walking in direction: a line break and a
    // surrogate pair go whole.
    qint64 unitLength(qint64 index, int direction) const
    {
        const qint64 other = index + direction;
        if (other < 0 || other >= text.size())
            return 1;
        const QChar first = text.at(std::min(index, other));
        const QChar second = text.at(std::max(index, other));
        const bool pair = (first == u'\r' && second == u'\n') ||
                          (first.isHighSurrogate() && second.isLowSurrogate());
        return pair ? 2 : 1;
    }

    std::vector<Command> m_commands;
    qsizetype m_current = 0;
};

const QString Typed = QStringLiteral("abcxyzABC <>/=\"'&;%ñáÉü€0");
const QString Pasted = QStringLiteral("ab<p>\r\n\n\r\tñ\U0001F600 \u2029");

QString randomText(QRandomGenerator &random, const QString &alphabet, int maximum)
{
    QString result;
    const int size = random.bounded(maximum + 1);
    for (int i = 0; i < size; ++i)
        result.append(alphabet.at(random.bounded(int(alphabet.size()))));
    // Never half of a surrogate pair.
    if (!result.isEmpty() && result.back().isHighSurrogate())
        result.chop(1);
    return result;
}

// Seeds to run: "7", "1,5,9" or "20-40" (and mixes of these).
QList<quint32> seedsFrom(const QByteArray &list)
{
    QList<quint32> seeds;
    for (const QByteArray &item : list.split(',')) {
        const QList<QByteArray> bounds = item.trimmed().split('-');
        const quint32 first = bounds.first().toUInt();
        const quint32 last = bounds.size() > 1 ? bounds.last().toUInt() : first;
        for (quint32 seed = first; seed <= last && !bounds.first().isEmpty(); ++seed)
            seeds.append(seed);
    }
    return seeds;
}

} // namespace

class TestUndoModel : public QObject
{
    Q_OBJECT

private slots:
    void randomSequence_data();
    void randomSequence();
    void overwrittenTextComesBack_data();
    void overwrittenTextComesBack();
};

void TestUndoModel::randomSequence_data()
{
    QTest::addColumn<quint32>("seed");
    QList<quint32> seeds{1, 2};
    if (qEnvironmentVariableIsSet("ZENDRAL_MODEL_SEEDS"))
        seeds = seedsFrom(qgetenv("ZENDRAL_MODEL_SEEDS"));
    for (quint32 seed : seeds)
        QTest::addRow("seed %u", seed) << seed;
}

void TestUndoModel::randomSequence()
{
    QFETCH(quint32, seed);
    const int steps = qEnvironmentVariableIntValue("ZENDRAL_MODEL_STEPS") > 0
                          ? qEnvironmentVariableIntValue("ZENDRAL_MODEL_STEPS")
                          : 400;

    WindowFixture f;
    EditingSurface &text1 = f.text1;
    const auto trigger = [&f](const char *name) { f.trigger(QLatin1String(name)); };
    Oracle oracle;
    text1.setText(QString());
    QGuiApplication::clipboard()->clear();

    QRandomGenerator random(seed);
    QStringList log;
    for (int step = 0; step < steps; ++step) {
        const int kind = random.bounded(100);
        QString done;
        if (kind < 30) {
            const QString characters = randomText(random, Typed, 4);
            done = u"type \""_qs + characters + u'"';
            for (QChar c : characters) {
                // keyClicks takes Latin-1 only: "€" goes as a key event of its own.
                QTest::sendKeyEvent(QTest::Click, &text1, Qt::Key(c.toUpper().unicode()),
                                    QString(c), Qt::NoModifier);
                oracle.type(c);
            }
        } else if (kind < 40) {
            const qint64 from = random.bounded(int(oracle.text.size()) + 3);
            const qint64 count = random.bounded(2) ? random.bounded(8) : 0;
            done = u"select %1+%2"_qs.arg(from).arg(count);
            text1.setSelectionStart(from);
            text1.setSelectionLength(count);
            oracle.select(from, count);
        } else if (kind < 46) {
            done = u"Backspace"_qs;
            QTest::keyClick(&text1, Qt::Key_Backspace);
            oracle.backspace();
        } else if (kind < 52) {
            done = u"Delete"_qs;
            QTest::keyClick(&text1, Qt::Key_Delete);
            oracle.deleteForward();
        } else if (kind < 54) {
            // Enter and Tab are the surface's own keys: inserted, never recorded.
            const bool enter = random.bounded(2);
            done = enter ? u"Enter"_qs : u"Tab"_qs;
            QTest::keyClick(&text1, enter ? Qt::Key_Return : Qt::Key_Tab);
            oracle.replaceSelection(enter ? u"\r\n"_qs : u"\t"_qs);
        } else if (kind < 57) {
            static const std::pair<const char *, int> oneClick[] = {
                {"mn_negrita", 5}, {"mn_br", -1}, {"mn_aperturaasp", 8}, {"mn_aperturajs", 11}};
            const auto &[name, backOff] = oneClick[random.bounded(4)];
            done = QLatin1String(name);
            trigger(name);
            static const QHash<QString, QString> fragments = {
                {u"mn_negrita"_qs, u"<b>  </b>"_qs},
                {u"mn_br"_qs, u"<br>"_qs},
                {u"mn_aperturaasp"_qs, u"<%\r\n\r\n\r\n\r\n%>"_qs},
                {u"mn_aperturajs"_qs,
                 u"\r\n<script languaje=javascript>\r\n\r\n\r\n\r\n</script>"_qs}};
            oracle.replaceSelection(fragments.value(done));
            if (backOff >= 0)
                oracle.select(oracle.text.size() - backOff, 0);
        } else if (kind < 59) {
            done = u"mn_espacio"_qs;
            trigger("mn_espacio");
            oracle.replaceSelection(u"&nbsp;"_qs);
        } else if (kind < 63) {
            oracle.clipboard = randomText(random, Pasted, 6);
            done = u"paste \""_qs + oracle.clipboard + u'"';
            QGuiApplication::clipboard()->setText(oracle.clipboard);
            trigger("mn_pegar");
            oracle.replaceSelection(oracle.clipboard);
        } else if (kind < 66) {
            done = u"cut"_qs;
            trigger("mn_cortar");
            if (oracle.length > 0) {
                oracle.clipboard = oracle.text.mid(oracle.start, oracle.length);
                oracle.replaceSelection(QString());
            }
        } else if (kind < 71) {
            // A keyword taken from the text finds something; one from the alphabet may not.
            QString keyword = randomText(random, Typed + u"\r\n"_qs, 2);
            if (random.bounded(2) && !oracle.text.isEmpty()) {
                const int at = random.bounded(int(oracle.text.size()));
                keyword = oracle.text.mid(at, 1 + random.bounded(3));
            }
            const QString replacement = randomText(random, Typed + u"\r\n"_qs, 3);
            done = u"replace all \""_qs + keyword + u"\" by \""_qs + replacement + u'"';
            // A word not found leaves the document, caret included, as it was.
            if (replaceInDocument(text1, keyword, replacement) > 0)
                oracle.setText(ReplaceString(oracle.text, keyword, replacement));
        } else if (kind < 86) {
            const bool key = random.bounded(2);
            done = key ? u"Ctrl+Z"_qs : u"btndeshacer"_qs;
            if (key)
                QTest::keyClick(&text1, Qt::Key_Z, Qt::ControlModifier);
            else
                trigger("btndeshacer");
            oracle.undo();
        } else {
            const bool key = random.bounded(2);
            done = key ? u"Ctrl+Y"_qs : u"btnrehacer"_qs;
            if (key)
                QTest::keyClick(&text1, Qt::Key_Y, Qt::ControlModifier);
            else
                trigger("btnrehacer");
            oracle.redo();
        }
        log.append(done);
        const QByteArray where =
            QStringLiteral("seed %1, step %2; last steps: %3")
                .arg(seed)
                .arg(step)
                .arg(log.mid(std::max<qsizetype>(0, log.size() - 12)).join(u" | "))
                .toUtf8();
        QVERIFY2(text1.text() == oracle.text,
                 (where + "\nactual:   " + text1.text().toUtf8().toPercentEncoding(" <>/=") +
                  "\nexpected: " + oracle.text.toUtf8().toPercentEncoding(" <>/="))
                     .constData());
        QVERIFY2(text1.selectionStart() == oracle.start, where.constData());
        QVERIFY2(text1.selectionLength() == oracle.length, where.constData());
    }
}

void TestUndoModel::overwrittenTextComesBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("length");

    QTest::newRow("a line break") << u"uno\r\ndos"_qs << qint64(2) << qint64(4);
    // Undo wrote a lone LF back as a line break: saving then turned the LF into CR LF.
    QTest::newRow("a lone LF inside a line, once a line break")
        << u"a\nb\r\n"_qs << qint64(0) << qint64(3);
    QTest::newRow("a lone LF beside a line break") << u"a\r\n\nb"_qs << qint64(1) << qint64(4);
}

void TestUndoModel::overwrittenTextComesBack()
{
    QFETCH(QString, text);
    QFETCH(qint64, start);
    QFETCH(qint64, length);

    WindowFixture f;
    EditingSurface &text1 = f.text1;
    text1.setText(text);
    text1.setSelectionStart(start);
    text1.setSelectionLength(length);
    QTest::keyClick(&text1, Qt::Key_X);
    QCOMPARE(text1.text(), text.left(start) + u'x' + text.mid(start + length));
    f.trigger(u"btndeshacer"_qs);
    QCOMPARE(text1.text(), text);
}

QTEST_MAIN(TestUndoModel)
#include "tst_undomodel.moc"
