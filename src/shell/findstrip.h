#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace zendral {

class EditingSurface;
class Prompts;

// The strip under the toolbars that finds text in the document and jumps to a line by number.
// Neither search wraps around and neither changes the text.
class FindStrip : public QWidget
{
    Q_OBJECT

public:
    FindStrip(EditingSurface &text1, Prompts &prompts, QWidget *parent = nullptr);

private:
    void findFirst();
    void findNext();
    void goToLine();

    EditingSurface &m_text1;
    Prompts &m_prompts;
    QLineEdit *m_line;
    QLineEdit *m_search;
    QCheckBox *m_matchCase;
};

} // namespace zendral
