#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QTableWidget>

// The lines of a text in which a line ends at CR, at LF or at CR LF; a last line end starts no line.
QByteArrayList textLines(const QByteArray& text);

// The phone-book grid: rows of name=number texts shown in two columns "Name" and "Phone". A text
// without "=" is a row with an empty name and the whole text as its number, and stays so until the
// user edits it. An empty list still shows one empty row that holds nothing.
class PhoneBookList : public QTableWidget {
    Q_OBJECT
public:
    explicit PhoneBookList(QWidget* parent);

    // Rows held, without the title row and without the placeholder of an empty list.
    int lineCount() const;
    // The grid's row count: the title row counts, and an empty list still shows one row.
    int gridRowCount() const { return lineCount() == 0 ? 2 : lineCount() + 1; }
    QByteArray line(int index) const;
    QByteArray name(int index) const;
    QByteArray number(int index) const;
    // Every row followed by CR LF.
    QByteArray text() const;
    // Replaces the whole content; a line ends at CR, at LF or at CR LF.
    void setText(const QByteArray& text);
    void clearLines();
    void appendLine(const QByteArray& line);
    void insertEmptyLine(int index);
    void deleteLine(int index);
    // The first row whose name equals name, letter case ignored; rows without "=" are never found.
    int findName(const QByteArray& name) const;

    // The row the user works on; the first row while none is chosen.
    int currentLine() const { return qMax(currentRow(), 0); }
    void setCurrentLine(int index);
    // Inserts an empty row in the current row's place, unless the current row is an empty one already.
    void insertAtCurrent();
    // Removes the current row; the row that takes its place, or else the new last row, is current.
    void deleteCurrent();

protected:
    // Insert adds a row and Ctrl+Delete removes one, as the buttons beside the list do.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setRow(int row, const QByteArray& line);
    void showPlaceholder();
    bool m_placeholder = false;
};
