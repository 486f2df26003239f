// Pages made to hurt, each beside a normal page of the same size measured in the same run:
// opening until the first paint, a typed ">" far from its "<", typing on a long line.

#include "benchsupport.h"
#include "colouring.h"
#include "documentfile.h"
#include "editingsurface.h"
#include "mainwindow.h"
#include "pagegenerator.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>

#include <cstdio>
#include <vector>

namespace zendral {

using namespace bench;

namespace {

void versus(const QString &what, double ours, double normal)
{
    std::printf("%-58s %10.1f ms  normal %9.1f ms  ratio %6.2f\n", qPrintable(what), ours, normal,
                normal > 0 ? ours / normal : 0.0);
    std::fflush(stdout);
}

// Reading the file, the whole-text colouring and the first paint of the shown surface.
double openUntilPainted(const QTemporaryDir &dir, const QString &page)
{
    const QString path = bench::writePage(dir.filePath(QStringLiteral("pagina.html")), page);
    const QStringList table = TablaEtiquetas();
    EditingSurface surface;
    surface.resize(1000, 700);
    surface.show();
    return millisecondsOf([&] {
        surface.page().setText(readDocumentFile(path).document.text);
        Colorea(surface.page(), table);
        surface.viewport()->repaint();
    });
}

// Each key typed into view, timed with the repaint it causes.
std::vector<double> timedTyping(QPlainTextEdit &view, const QString &keys)
{
    view.viewport()->repaint();
    std::vector<double> times;
    for (const QChar key : keys) {
        times.push_back(millisecondsOf([&] {
            typeKey(view, key);
            view.viewport()->repaint();
        }));
    }
    return times;
}

// Keystrokes typed through the whole window at the given position, each with its repaint.
std::vector<double> keystrokes(const QString &page, qint64 position, const QString &keys)
{
    MainWindow window;
    window.show();
    EditingSurface &surface = window.surface();
    surface.page().setText(page);
    surface.page().setSelectionStart(position);
    return timedTyping(surface, keys);
}

// Bare QPlainTextEdit keystrokes at the same place: what Qt's own layout of the line costs.
std::vector<double> bareKeystrokes(const QString &page, qint64 position, const QString &keys)
{
    QPlainTextEdit edit;
    edit.setUndoRedoEnabled(false);
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.resize(1000, 700);
    edit.show();
    edit.setPlainText(page);
    QTextCursor cursor(edit.document());
    cursor.setPosition(int(position - edit.document()->findBlock(int(position)).blockNumber()));
    edit.setTextCursor(cursor);
    return timedTyping(edit, keys);
}

} // namespace

// Typing in the middle of one long line of a normal page, against its short lines and
// against a bare QPlainTextEdit typing on the same line.
void typingOnLongLines(const QString &normal10MB)
{
    constexpr qint64 Middle = 5 << 20;
    const QString letters = QStringLiteral("abcdefghij").repeated(20);
    const std::vector<double> shortLine = keystrokes(normal10MB, normal10MB.size() / 2, letters);
    for (const qint64 length : {25000, 100000}) {
        const QString page = normal10MB.left(Middle) + bench::longLine(length) +
                             QStringLiteral("\r\n") + normal10MB.mid(Middle);
        const std::vector<double> times = keystrokes(page, Middle + length / 2, letters);
        versus(QStringLiteral("8. keystroke on a %1-character line (mean)").arg(length),
               mean(times), mean(shortLine));
        versus(QStringLiteral("   keystroke on a %1-character line (p99)").arg(length), p99(times),
               p99(shortLine));
        const std::vector<double> bare = bareKeystrokes(page, Middle + length / 2, letters);
        versus(QStringLiteral("   bare QPlainTextEdit on that line (mean; \"normal\" = ours)"),
               mean(bare), mean(times));
    }
}

// Prints the hostile rows; "quick" leaves out the pages whose old cost ran to minutes.
void benchHostile(const QString &normal10MB, bool quick)
{
    QTemporaryDir dir;
    constexpr qint64 TenMB = 10 << 20;
    std::vector<double> normalRuns;
    for (int run = 0; run < 3; ++run)
        normalRuns.push_back(openUntilPainted(dir, normal10MB));
    const double normal = median(normalRuns);
    versus(QStringLiteral("6. open until painted, normal 10 MB (median of 3)"), normal, normal);
    versus(QStringLiteral("   open until painted, 10 MB of \"<\" on one line"),
           openUntilPainted(dir, bench::lessThanPage(TenMB)), normal);
    versus(QStringLiteral("   open until painted, the 10 MB page with LF line ends"),
           openUntilPainted(dir, bench::lfPage(TenMB)), normal);
    if (!quick) {
        versus(QStringLiteral("   open until painted, 10 MB of tags and text on one line"),
               openUntilPainted(dir, bench::longLine(TenMB)), normal);
        versus(QStringLiteral("   open until painted, 1,000,000 nested div tags, one line"),
               openUntilPainted(dir, bench::nestedTagsLine(1000000)), normal);
    }

    // A typed ">" whose "<" is megabytes back, against one closing a tag of the normal page.
    const auto closing = [](const QString &page, qint64 position) {
        return mean(keystrokes(page, position, QString(20, u'>')));
    };
    const double nearTag = closing(normal10MB + QStringLiteral("<b"), normal10MB.size() + 2);
    for (const qint64 megabytes : {5, 10}) {
        const QString page = bench::farTagPage(megabytes << 20);
        versus(QStringLiteral("7. typed \">\", its \"<\" %1 MB back (mean of 20)").arg(megabytes),
               closing(page, page.size()), nearTag);
    }
    if (!quick) {
        // Every keystroke on this line lays the whole line out again: three are enough.
        const QString line = bench::lessThanPage(TenMB);
        versus(QStringLiteral("   typed \">\" at the end of 10 MB of \"<\" (mean of 3)"),
               mean(keystrokes(line, line.size(), QString(3, u'>'))), nearTag);
    }

    typingOnLongLines(normal10MB);
    if (!quick) {
        // The page with LF line ends is one line of the widget: few keystrokes are enough.
        const QString lf = bench::lfPage(TenMB);
        const QString keys = QStringLiteral("abc");
        versus(QStringLiteral("   keystroke in the 10 MB page with LF line ends (mean of 3)"),
               mean(keystrokes(lf, lf.size() / 2, keys)),
               mean(keystrokes(normal10MB, normal10MB.size() / 2, keys)));
    }
}

} // namespace zendral
