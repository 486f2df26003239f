#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace zendral {

class DocumentController;
class EditingSurface;
struct PageEstimate;

// The status area `estado`: the page's size and load times, what became of its file on disk,
// whether it is modified, its encoding, its line ends and the caret's position.
class StatusArea : public QWidget
{
public:
    StatusArea(EditingSurface &view, DocumentController &document, QWidget *parent = nullptr);

    // Starts showing the page's state and following it; called once the page has started.
    void followPage();
    void showEstimate(const PageEstimate &estimate);
    // What happened to the page's file on disk, in `lblarchivo`.
    void setFileNotice(const QString &notice);
    // counted: whether a page that mixes its line ends has them counted now rather than a
    // moment after its last change.
    void showLineEnds(bool counted);

private:
    void showModified();
    void showEncoding();
    // Worked out from the block tree alone once the caret rests.
    void showPosition();

    EditingSurface &m_view;
    DocumentController &m_document;
    QLabel *m_size = nullptr;
    QLabel *m_modem = nullptr;
    QLabel *m_adsl = nullptr;
    QLabel *m_fileNotice = nullptr;
    QLabel *m_modified = nullptr;
    QLabel *m_encoding = nullptr;
    QLabel *m_lineEnds = nullptr;
    QLabel *m_position = nullptr;
    QTimer *m_lineEndsCount = nullptr;
    QTimer *m_positionShown = nullptr;
};

} // namespace zendral
