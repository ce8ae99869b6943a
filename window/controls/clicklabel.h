// A label that is clicked like a link: by the left mouse button, or, once Tab
// has brought the keyboard focus to it, by Space or Enter. It draws its
// caption as a transparent label does, and shows the focus only while it has
// it. To assistive technology it is a button with a press action; one that
// opens and closes something is also expandable, and says whether it is open.
#pragma once

#include <QAbstractButton>

#include <optional>

class ClickLabel : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);

    // The extent of the caption in the label's font, as for any label.
    QSize sizeHint() const override;

    // Whether what the label opens is open; none for a label that opens nothing.
    std::optional<bool> expanded() const { return m_expanded; }
    void setExpanded(bool expanded);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::optional<bool> m_expanded;
};
