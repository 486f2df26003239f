#pragma once

#include "colourchoice.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace zendral {

// A caption from a dialog's captions table: the label's object name (empty where the label
// has none) and its text.
struct Caption
{
    QString name;
    QString text;
};

// A colour list with its custom box.
struct ColourControls
{
    QComboBox *list = nullptr;
    QLineEdit *customBox = nullptr;

    ColourField read() const;
};

// Lays out a dialog's captioned fields on a grid, pairsPerRow (caption, field) pairs to a row,
// left to right. Every caption is a plain-text label whose buddy is its field, so that its
// mnemonic reaches the field. Every list is editable and shows its prompt until the user picks
// or types; what is typed stays as typed: nothing completes it and nothing adds it to the list.
class FormBuilder
{
public:
    explicit FormBuilder(QWidget *owner, int pairsPerRow = 1);
    // The fields in a captioned frame of their own, made in parent, which groups them.
    FormBuilder(QWidget *parent, const QString &frameName, const QString &frameCaption);

    // The grid, for the dialog to take; a frame has taken it already.
    QGridLayout *layout() const { return m_grid; }
    // The frame holding the fields; none unless made with one.
    QGroupBox *frame() const { return m_frame; }

    QLineEdit *textRow(const Caption &caption, const QString &boxName,
                       const QString &designText = QString());
    QComboBox *listRow(const Caption &caption, const QString &listName, const QStringList &items,
                       const QString &prompt);
    // A colour list and its custom box, as two pairs; typing in the box shows the custom item.
    ColourControls colourRow(const Caption &caption, const QString &listName,
                             const Caption &customCaption, const QString &boxName,
                             const QString &customItem, const QString &prompt);
    // Any other field with its caption.
    void fieldRow(const Caption &caption, QWidget *field);
    // A field across the whole width, its caption on a line of its own above it.
    void wideRow(const Caption &caption, QWidget *field);
    // A line of help in the next field's place, with no caption of its own.
    QLabel *note(const Caption &caption);
    // Starts a new row even if the current one has room left.
    void nextRow();

private:
    void place(QLabel *label, QWidget *field);

    QWidget *m_owner;
    QGroupBox *m_frame = nullptr;
    QGridLayout *m_grid;
    int m_pairsPerRow;
    int m_row = 0;
    int m_pair = 0;
};

// What a box or a list shows now.
QString shownText(const QLineEdit &box);
QString shownText(const QComboBox &list);

// Reads a dialog's fields into its Fields struct: each box, list or colour is bound once, as it
// is made, to the member it fills.
template <typename Fields> class FieldReader
{
public:
    // Returns field, for the dialog to keep where it needs it for more.
    template <typename Field> Field *bind(Field *field, QString Fields::*member)
    {
        m_reads.push_back([field, member](Fields &fields) { fields.*member = shownText(*field); });
        return field;
    }
    void bind(const ColourControls &colour, ColourField Fields::*member)
    {
        m_reads.push_back([colour, member](Fields &fields) { fields.*member = colour.read(); });
    }

    Fields read() const
    {
        Fields fields;
        for (const auto &read : m_reads)
            read(fields);
        return fields;
    }

private:
    std::vector<std::function<void(Fields &)>> m_reads;
};

// A plain-text label with its object name.
QLabel *makeLabel(QWidget *parent, const Caption &caption);

} // namespace zendral
