// A multi-line text box whose text, like the texts it shows, breaks lines with
// CR LF. Text given to it while it is not shown is laid out when it is. Lines
// may be kept at a fixed pitch, so that text set beside other controls stays
// beside them whatever face the fonts fall back to.
//
// A read-only box shows a very long line (a number of megabytes) as pieces
// that end where its wrapped lines end, so that the toolkit lays out only the
// pieces in view; its text, and what is copied from it, are whole.
#pragma once

#include <QTextEdit>

#include <QImage>

#include <optional>
#include <tuple>

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
    bool event(QEvent *event) override;
    // Pasted or dropped data without text inserts nothing.
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;
    void showEvent(QShowEvent *event) override;

private:
    void layOut(const QString &plain);
    void keepLinePitch();
    void keepLongLinesShaped();
    void showInPieces(QStringView plain);

    std::optional<QString> m_unshown; // the text, until the box is first shown
    std::optional<QString> m_whole; // the text, while it is shown in pieces
    int m_linePitch = 0;
    // The style's frame at 1, for a scale other than 1 (whichever: it is
    // drawn at 1), and what it was drawn from: the size, the style, the
    // palette and its colour group, and the frame's state.
    using FrameDrawn = std::tuple<QSize, const QStyle *, qint64, int, int>;
    QImage m_frame;
    FrameDrawn m_frameDrawn;
};
