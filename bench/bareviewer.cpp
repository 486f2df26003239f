// The floor of any editor built on Qt's text widget, launched as the other editors are in the
// side-by-side run: `bareviewer [+LINE] FILE` shows the file (UTF-8, no colours) with the caret
// at the start of LINE; Ctrl+S writes the text back through QSaveFile.

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QShortcut>
#include <QTextBlock>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QString path;
    int line = 1;
    for (const QString &argument : application.arguments().mid(1)) {
        if (argument.startsWith(u'+'))
            line = std::max(1, argument.mid(1).toInt());
        else
            path = argument;
    }
    QPlainTextEdit edit;
    edit.setWindowTitle(QFileInfo(path).fileName() + QStringLiteral(" - bareviewer"));
    edit.resize(1024, 768);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    edit.setPlainText(QString::fromUtf8(file.readAll()));
    file.close();
    edit.setTextCursor(QTextCursor(edit.document()->findBlockByNumber(line - 1)));
    edit.centerCursor();
    QShortcut save(QKeySequence::Save, &edit);
    QObject::connect(&save, &QShortcut::activated, &edit, [&] {
        QSaveFile out(path);
        if (out.open(QIODevice::WriteOnly)) {
            out.write(edit.toPlainText().toUtf8());
            out.commit();
        }
    });
    edit.show();
    return application.exec();
}
