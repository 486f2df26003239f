#pragma once

#include <QObject>
#include <QSize>
#include <QString>

namespace zendral {

class DocumentController;
class PageText;
class Prompts;

// What a double-click in the file list does: a page becomes the document, a GIF or JPEG
// picture is inserted as an image tag with its size and a path relative to the document.
class FileActivation : public QObject
{
    Q_OBJECT

public:
    FileActivation(PageText &page, DocumentController &document, Prompts &prompts,
                   QObject *parent = nullptr);

    // Joins a folder and a name with one separator between them.
    static QString UnirRuta(const QString &folder, const QString &name); // fixed name
    // ".gif" and ".jpg" endings, letter case included, mark a picture; all else is a page.
    static bool isImage(const QString &path);
    // The image's address as written in the page: relative to the document's folder when it
    // lies inside it, the full path otherwise.
    static QString imageSource(const QString &path, const QString &carpetaActual);
    static QString imageTag(const QString &source, QSize size);
    // The notice for a picture chosen while the page has no file to be relative to.
    static QString saveFirstToInsertImages();

    // The file name of the file list was double-clicked while the folder list showed folder.
    void activate(const QString &folder, const QString &name);

private:
    void insertImage(const QString &path);

    PageText &m_page;
    DocumentController &m_document;
    Prompts &m_prompts;
};

} // namespace zendral
