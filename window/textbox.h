// A multi-line text box whose text, like the texts it shows, breaks lines with
// CR LF. Text given to it while it is not shown is laid out when it is. Lines
// may be kept at a fixed pitch, so that text set beside other controls stays
// beside them whatever face the fonts fall back to.
#pragma once

#include <QTextEdit>

#include <optional>

class TextBox : public QTextEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);

    // Sets every line pitch pixels apart, where the box's face would set them
    // otherwise; 0 (the default) leaves the face's own pitch.
    void setLinePitch(int pixels);

protected:
    // Pasted or dropped data without text inserts nothing.
    void insertFromMimeData(const QMimeData *source) override;
    void showEvent(QShowEvent *event) override;

private:
    void layOut(const QString &plain);
    void keepLinePitch();
    void keepLongLinesShaped();

    std::optional<QString> m_unshown; // the text, until the box is first shown
    int m_linePitch = 0;
};
