#pragma once

// The window's part of the test doors: a main window over the fakes of testsupport.h.

#include "desktopopener.h"
#include "editingsurface.h"
#include "mainwindow.h"
#include "testsupport.h"

namespace zendral::test {

// The program's settings and the user's own files (the added words) in a folder of the test's
// own, so that neither the developer's nor an earlier run's reach a test. Made before the
// first settings are read: a test object's member.
struct OwnConfiguration
{
    OwnConfiguration() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path())); }
    QTemporaryDir folder;
};

// Keeps every address the desktop was asked to open, and opens none.
class FakeDesktopOpener : public DesktopOpener
{
public:
    void open(const QUrl &address) override { opened.append(address); }

    QList<QUrl> opened;
};

// A main window over scripted prompts, file dialogs and desktop.
struct WindowFixture
{
    FakePrompts prompts;
    FakeFileChooser chooser;
    FakeDesktopOpener opener;
    MainWindow window{MainWindowServices{&prompts, &chooser, nullptr, &opener}};
    EditingSurface &view = window.surface();
    PageText &page() { return view.page(); }

    void trigger(const QString &name) { window.command(name)->trigger(); }
    // Runs a command whose file dialog answers path.
    void trigger(const QString &name, const QString &path)
    {
        chooser.paths.enqueue(path);
        trigger(name);
    }
    void showAndWait()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

// A shown window whose text has the keyboard, so that typed keys and shortcuts reach it.
struct ShownWindow : WindowFixture
{
    ShownWindow()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        view.setFocus();
    }
};

} // namespace zendral::test
