#include "previewpane.h"

#include "folderrequestinterceptor.h"
#include "pageencoding.h"
#include "previewpage.h"
#include "webenginesandbox.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <utility>

namespace zendral {

namespace {

// The longest address the browser takes; a text handed over from memory travels in one.
constexpr qsizetype LongestAddress = 2 * 1024 * 1024;
const QByteArray TextType = QByteArrayLiteral("text/html;charset=UTF-8");
// How long a page is given to say where it is scrolled to before it is replaced regardless.
constexpr int AnswerMilliseconds = 300;

// The length of the data: address that carries bytes, each byte but the unreserved ones
// written as %XX.
qsizetype addressLength(const QByteArray &bytes)
{
    qsizetype length = TextType.size() + 6;
    for (const char byte : bytes) {
        const bool unreserved = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                                (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                                byte == '_' || byte == '~';
        length += unreserved ? 1 : 3;
    }
    return length;
}

// Text a page chose, on one short line.
QString shortLine(const QString &text)
{
    constexpr qsizetype Longest = 200;
    const QString line = text.simplified();
    return line.size() <= Longest ? line : line.left(Longest) + QChar(0x2026);
}

QString realFolder(const QString &folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

PreviewPane::PreviewPane(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("previewPage"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(2, 2, 2, 2);
    const auto button = [bar](const QString &name, const QString &caption) {
        auto *result = new QToolButton;
        result->setObjectName(name);
        result->setText(caption);
        result->setToolButtonStyle(Qt::ToolButtonTextOnly);
        result->setEnabled(false);
        bar->addWidget(result);
        return result;
    };
    m_back = button(QStringLiteral("btnprevatras"), QStringLiteral("Atrás"));
    m_forward = button(QStringLiteral("btnprevadelante"), QStringLiteral("Adelante"));
    m_shown = new QLabel;
    m_shown->setObjectName(QStringLiteral("lblprevpagina"));
    m_shown->setTextFormat(Qt::PlainText);
    // A long path must not widen the window.
    m_shown->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(m_shown, 1);
    layout->addLayout(bar);

    m_note = new QLabel;
    m_note->setObjectName(QStringLiteral("previewNote"));
    // The folder's name and the page's messages are data, never markup.
    m_note->setTextFormat(Qt::PlainText);
    m_note->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_note->setContentsMargins(4, 2, 4, 2);
    m_note->hide();
    layout->addWidget(m_note);
}

PreviewPane::~PreviewPane()
{
    m_closing = true;
    // The page must go before its profile, or the profile is torn down under it.
    delete m_browser;
}

QString PreviewPane::withoutScriptsNote(const QString &folder)
{
    return QStringLiteral("Vista sin scripts: la página está en \"%1\", y desde ahí sus scripts "
                          "podrían leer todos los archivos de la carpeta.")
        .arg(folder);
}

QString PreviewPane::undeclaredEncodingNote()
{
    return QStringLiteral("La página tiene caracteres que no son ASCII y no declara su "
                          "codificación: servida desde un sitio web, los navegadores la leerán "
                          "como Windows-1252 y mostrarán mal esos caracteres. Añade <meta "
                          "charset=\"utf-8\"> después de <head>.");
}

QString PreviewPane::noFolderNote()
{
    return QStringLiteral("La página no se ha guardado nunca: no tiene carpeta, y solo se ve lo "
                          "que ella misma contiene (imágenes y archivos data: o blob:).");
}

QString PreviewPane::refusedNote(const QUrl &address)
{
    return QStringLiteral("No se abre \"%1\": está fuera de la carpeta de la página.")
        .arg(shortLine(address.toDisplayString()));
}

QString PreviewPane::alertNote(const QString &message)
{
    return QStringLiteral("La página dice: \"%1\"").arg(shortLine(message));
}

QString PreviewPane::tooLargeNote(bool savedShown)
{
    return savedShown ? QStringLiteral("La página es demasiado grande para mostrarla sin "
                                       "guardar: se muestra el archivo guardado, que es igual.")
                      : QStringLiteral("La página es demasiado grande para mostrarla sin "
                                       "guardar: guárdala para verla aquí.");
}

bool PreviewPane::folderTooWide(const QString &folder)
{
    const QString real = realFolder(folder);
    if (real == QDir::rootPath())
        return true;
    const QString home = realFolder(QDir::homePath());
    if (home == real || home.startsWith(real + u'/'))
        return true;
    return real == realFolder(QDir::tempPath()) || real == realFolder(QStringLiteral("/tmp"));
}

void PreviewPane::createBrowser()
{
    sealWebEngineNetwork();
    // A profile of its own, kept in memory only, so the folder rule binds this view alone and
    // no cookies or caches of the user's pages are left on disk.
    m_profile = new QWebEngineProfile(this);
    m_interceptor = new FolderRequestInterceptor(m_profile);
    m_profile->setUrlRequestInterceptor(m_interceptor);

    m_browser = new QWebEngineView;
    m_browser->setObjectName(QStringLiteral("browser"));
    m_page = new PreviewPage(m_profile, *m_interceptor, m_browser);
    m_browser->setPage(m_page);
    QWebEngineSettings *settings = m_browser->settings();
    // A window the page opens is shown in the preview itself (PreviewPage): the browser must
    // let the request through to reach it.
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    // The user's clipboard is not the page's to read or fill.
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    // The interceptor refuses the network anyway; these keep the browser from even trying.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    layout()->addWidget(m_browser);

    connect(m_page, &PreviewPage::alerted, this,
            [this](const QString &message) { tell(alertNote(message)); });
    connect(m_page, &PreviewPage::refused, this,
            [this](const QUrl &address) { tell(refusedNote(address)); });
    connect(m_interceptor, &FolderRequestInterceptor::pageRefused, this,
            [this](const QUrl &address) { tell(refusedNote(address)); });
    connect(m_page, &QWebEnginePage::urlChanged, this, &PreviewPane::showShown);
    connect(m_page, &QWebEnginePage::loadFinished, this, &PreviewPane::loadFinished);
    connect(m_page, &QWebEnginePage::selectionChanged, this, &PreviewPane::selectionChanged);
    const auto follow = [this](QToolButton *button, QWebEnginePage::WebAction which,
                               const QString &caption) {
        QAction *action = m_page->action(which);
        action->setText(caption);
        action->setIcon(QIcon());
        button->setDefaultAction(action);
    };
    follow(m_back, QWebEnginePage::Back, m_back->text());
    follow(m_forward, QWebEnginePage::Forward, m_forward->text());
}

void PreviewPane::prepareFor(const QString &folder, bool hasFolder)
{
    if (!m_browser)
        createBrowser();
    const bool withoutScripts = hasFolder && folderTooWide(folder);
    m_browser->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, !withoutScripts);
    m_folderNote = !hasFolder       ? noFolderNote()
                   : withoutScripts ? withoutScriptsNote(folder)
                                    : QString();
    tell(m_folderNote);
    m_interceptor->setRoot(hasFolder ? folder : QString());
    m_forgetHistory = true;
}

void PreviewPane::navigate(const QString &path)
{
    m_textShown = false;
    m_restoreScroll = false;
    if (path.isEmpty()) {
        tell(QString());
        if (m_browser) {
            m_interceptor->setRoot(QString());
            m_forgetHistory = true;
            m_browser->setUrl(QUrl(QStringLiteral("about:blank")));
        }
        return;
    }
    prepareFor(QFileInfo(path).absolutePath(), true);
    if (readAsWindows1252ForWantOfDeclaration(path)) {
        m_folderNote = m_folderNote.isEmpty() ? undeclaredEncodingNote()
                                              : m_folderNote + u'\n' + undeclaredEncodingNote();
        tell(m_folderNote);
    }
    // Loading by address, not by handing over the text, has no size limit.
    m_browser->setUrl(QUrl::fromLocalFile(path));
}

bool PreviewPane::showText(const QString &text, const QString &path)
{
    QByteArray bytes = text.toUtf8();
    if (addressLength(bytes) > LongestAddress)
        return false;
    const QUrl address = path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path);
    // A text still waiting is replaced, never queued behind this one.
    m_waitingText = std::move(bytes);
    m_waitingPath = path;
    const bool samePage = m_browser && m_textShown && address == m_textAddress;
    if (!samePage) {
        m_restoreScroll = false;
        handText();
        return true;
    }
    // The same page again: the reader stays where they were, not back at the top. The page
    // says where that is (the browser's own report of it does not come without a compositor);
    // a page too busy to answer is replaced all the same.
    if (m_asking)
        return true;
    m_asking = true;
    const int question = ++m_question;
    m_page->runJavaScript(QStringLiteral("[window.scrollX, window.scrollY]"),
                          QWebEngineScript::ApplicationWorld,
                          [this, question](const QVariant &place) {
                              if (m_closing || question != m_question || !m_asking)
                                  return;
                              const QVariantList xy = place.toList();
                              if (xy.size() == 2) {
                                  m_scroll = QPointF(xy.at(0).toDouble(), xy.at(1).toDouble());
                                  m_restoreScroll = true;
                              }
                              handText();
                          });
    QTimer::singleShot(AnswerMilliseconds, this, [this, question] {
        if (question == m_question && m_asking)
            handText();
    });
    return true;
}

void PreviewPane::handText()
{
    m_asking = false;
    ++m_question;
    const QString path = std::exchange(m_waitingPath, QString());
    prepareFor(path.isEmpty() ? QString() : QFileInfo(path).absolutePath(), !path.isEmpty());
    m_textAddress = path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path);
    m_textShown = true;
    // The page is the editor's text, read as the page at path; its scripts run afresh.
    m_page->setContent(std::exchange(m_waitingText, QByteArray()), QString::fromLatin1(TextType),
                       m_textAddress);
}

void PreviewPane::tell(const QString &message)
{
    m_note->setText(message);
    m_note->setVisible(!message.isEmpty());
}

QString PreviewPane::selectedText() const
{
    return m_browser ? m_browser->selectedText() : QString();
}

void PreviewPane::showShown(const QUrl &address)
{
    const bool text = m_textShown && (address == m_textAddress || address.scheme() == u"data");
    QString name;
    if (text)
        name = m_textAddress.isEmpty() ? QStringLiteral("Sin título") : m_textAddress.toLocalFile();
    else if (address.isLocalFile())
        name = address.toLocalFile();
    else if (address.scheme() != u"about")
        name = shortLine(address.toDisplayString());
    m_shown->setText(text ? name + QStringLiteral(" (tal como está en el editor)") : name);
}

void PreviewPane::loadFinished(bool ok)
{
    // "Atrás" leads back through the pages this one led to, never to an older state of the
    // editor's page or to what was shown before it.
    if (m_forgetHistory) {
        m_forgetHistory = false;
        m_page->history()->clear();
    }
    if (ok && m_restoreScroll) {
        m_restoreScroll = false;
        // In a world of its own: the page's scripts can neither see nor stop it.
        m_page->runJavaScript(
            QStringLiteral("window.scrollTo(%1, %2);").arg(m_scroll.x()).arg(m_scroll.y()),
            QWebEngineScript::ApplicationWorld);
    }
}

} // namespace zendral
