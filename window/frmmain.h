// The program's one window: a borderless skin with the phone-number test, the
// extra panel with the number trick and the password quiz, and the title band
// and close mark that stand in for a system frame.
#pragma once

#include <QImage>
#include <QWidget>

#include <array>

class Announcer;
class ClickLabel;
class CommandButton;
class ImageArea;
class ImageButton;
class PhoneEdit;
class QCheckBox;
class QFrame;
class QLabel;
class TextBox;
class TextStore;

class frmmain : public QWidget
{
    Q_OBJECT

public:
    explicit frmmain(QWidget *parent = nullptr);

    // "0" while the extra panel is closed, "1" while it is open.
    QString panelState() const { return PanelState; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void arrangeTabOrder();
    void nameForAssistiveTechnology();
    void setHeightInTwips(int height);
    void showControlsInView();
    void keepOnScreen();
    void fitToScreen();

    // Event handlers, named by control and event.
    void Form_Load();
    void Text2_KeyPress(qint16 &KeyAscii);
    void CmmTest_Click();
    void Label7_Click();
    void Check1_Click(int Index);
    void Image2_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, QPointF position);
    void Image1_Click();

    QString PanelState;
    // The skin as its bitmap holds it, a byte a pixel: a quarter of the
    // memory of a copy in the screen's format, and drawn fast enough for a
    // window that is seldom painted.
    QImage m_skin;

    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    ImageButton *Image1 = nullptr;
    ImageArea *Image2 = nullptr;
    ClickLabel *Label7 = nullptr;
    TextBox *Text4 = nullptr;
    CommandButton *CmmTest = nullptr;
    TextBox *Text1 = nullptr;
    PhoneEdit *Text2 = nullptr;
    QFrame *Frame1 = nullptr;
    TextStore *Text3 = nullptr;
    TextStore *Txt01 = nullptr;
    TextStore *Txt02 = nullptr;
    TextStore *Txt03 = nullptr;
    TextStore *Txt04 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    std::array<QCheckBox *, 4> Check1 {};
    Announcer *m_announcer = nullptr;
};
