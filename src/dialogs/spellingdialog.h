#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace zendral {

class SpellingSession;

// The interactive spelling dialog: shows each unknown word of a session in its line, offers
// the dictionary's suggestions, and passes the user's decision to the session. It closes by
// itself when no unknown word is left; closing it earlier keeps what was already changed.
class SpellingDialog : public QDialog
{
    Q_OBJECT

public:
    SpellingDialog(SpellingSession &session, const QStringList &dictionaryNames,
                   int currentDictionary, QWidget *parent = nullptr);

    // Shows the session's current word, or closes the dialog when the session is finished.
    void showWord();
    // Puts the dictionary choice back without announcing it (after a failed switch).
    void setDictionary(int index);

signals:
    // The user picked another dictionary from the list.
    void dictionaryChosen(int index);

private:
    // Runs one decision on the session, then moves on.
    template <typename Decision> void decide(Decision decision);

    SpellingSession &m_session;
    QTextBrowser *m_context;
    QLineEdit *m_replacement;
    QListWidget *m_suggestions;
    QComboBox *m_dictionaries;
    QPushButton *m_change;
};

} // namespace zendral
