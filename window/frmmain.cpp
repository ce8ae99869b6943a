#include "window/frmmain.h"

#include "engine/fortunenumber.h"
#include "engine/mod_date.h"
#include "window/colours.h"
#include "window/controls/accessibility.h"
#include "window/controls/announcer.h"
#include "window/controls/clicklabel.h"
#include "window/controls/commandbutton.h"
#include "window/controls/imagearea.h"
#include "window/controls/imagebutton.h"
#include "window/controls/phoneedit.h"
#include "window/controls/textbox.h"
#include "window/controls/textstore.h"
#include "window/fonts.h"
#include "window/modmovform.h"
#include "window/texts.h"
#include "window/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kClientWidth = 4545;
constexpr int kClosedHeight = 3000;
constexpr int kOpenHeight = 5565;
constexpr int kSkinInnerRight = 297; // pixels: where the skin's right edge begins

// A colour written as &H00BBGGRR.
constexpr QColor bgr(quint32 value)
{
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}

const QString kCrLf = u"\r\n"_s;

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

template<typename Control, typename... Args>
Control *makeControl(QWidget *parent, const char *name, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(QLatin1StringView(name));
    return control;
}

void setColour(QWidget *control, QPalette::ColorRole role, QColor colour)
{
    QPalette palette = control->palette();
    palette.setColor(role, colour);
    control->setPalette(palette);
}

// A label sized to its caption, with a transparent background.
template<typename Label = QLabel>
Label *createLabel(QWidget *parent, const char *name, const QString &caption, int left, int top,
    QColor textColour, const QFont &font)
{
    auto *label = makeControl<Label>(parent, name, caption);
    label->setFont(font);
    setColour(label, QPalette::WindowText, textColour);
    label->move(twips(left), twips(top));
    label->adjustSize();
    // Should a substitute font be wider than the design's (a desktop without
    // the window's fonts), the caption is narrowed to end inside the skin.
    // A face's stretched width is not quite in proportion to the stretch, so
    // it is narrowed further until it fits.
    const int room = kSkinInnerRight - label->x();
    for (int stretch = 100 * room / label->width(); label->width() > room && stretch > 50;
         --stretch) {
        QFont narrowed = font;
        narrowed.setStretch(stretch);
        label->setFont(narrowed);
        label->adjustSize();
    }
    return label;
}

TextBox *createTextBox(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *box = makeControl<TextBox>(parent, name);
    box->setGeometry(geometry);
    box->setText(text);
    return box;
}

} // namespace

frmmain::frmmain(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_skin(u":/skin.bmp"_s)
{
    setObjectName(u"frmmain"_s);
    setWindowTitle(u"手机号码吉祥如意测算"_s);
    setWindowIcon(QIcon(u":/phone-fortune.png"_s));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setPalette(colours::light());
    setFont(fonts::window());
    createControls();
    setHeightInTwips(kClosedHeight);
    arrangeTabOrder();
    nameForAssistiveTechnology();
    CmmTest->setFocus();

    const QRect screenArea = screen()->geometry();
    move(screenArea.center() - rect().center());

    Form_Load();
}

void frmmain::createControls()
{
    // Created from the bottom of the stack to the top.
    Label3 = createLabel(this, "Label3", u"手机号码："_s, 135, 615, bgr(0x0000FFFF), font());
    Label4 = createLabel(this, "Label4", texts::kCopyright, 1515, 2715, bgr(0x000000FF), font());
    Label5 = createLabel(
        this, "Label5", u"Vexo手机号码测吉祥"_s, 1065, 60, bgr(0x000080FF), fonts::title());
    Label6 = createLabel(
        this, "Label6", u"Vexo手机号码测吉祥"_s, 1050, 75, bgr(0x00FFFFFF), fonts::title());
    // The orange copy only edges the white one: the title is read once.
    hideFromAssistiveTechnology(Label5);

    Image1 = makeControl<ImageButton>(this, "Image1");
    Image1->setGeometry(twipsRect(4125, 45, 330, 300));
    Image1->setToolTip(u"关闭程序"_s);
    connect(Image1, &ImageButton::clicked, this, &frmmain::Image1_Click);

    // A region, without the text that a title bar would promise.
    Image2 = makeControl<ImageArea>(this, "Image2", QAccessible::Pane);
    Image2->setGeometry(twipsRect(0, 0, 4095, 375));
    connect(Image2, &ImageArea::mouseDown, this, &frmmain::Image2_MouseDown);

    Label7 = createLabel<ClickLabel>(
        this, "Label7", u"其它功能"_s, 150, 2700, bgr(0x00C00000), fonts::link());
    connect(Label7, &ClickLabel::clicked, this, &frmmain::Label7_Click);

    Text4 = createTextBox(this, "Text4", texts::kQuestion, twipsRect(75, 3060, 4395, 2400));
    // Lines a Song face's 9 pt apart, so that each answer stays beside its
    // box whatever face stands in for it.
    Text4->setLinePitch(twips(180));
    Text4->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text4->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setColour(Text4, QPalette::Base, bgr(0x00FF8080));
    setColour(Text4, QPalette::Text, bgr(0x00FFFFFF));

    CmmTest = makeControl<CommandButton>(this, "CmmTest", u"- 测 -"_s);
    CmmTest->setGeometry(twipsRect(3150, 525, 1215, 330));
    CmmTest->setDefault(true);
    setColour(CmmTest, QPalette::Button, bgr(0x00FF8080));
    connect(CmmTest, &CommandButton::clicked, this, &frmmain::CmmTest_Click);

    Text1 = createTextBox(this, "Text1", texts::kContact, twipsRect(150, 960, 4230, 1695));
    Text1->setReadOnly(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setColour(Text1, QPalette::Base, bgr(0x00E0E0E0));
    setColour(Text1, QPalette::Text, bgr(0x00004000));

    Text2 = makeControl<PhoneEdit>(this, "Text2");
    Text2->setGeometry(twipsRect(1035, 555, 1935, 270));
    Text2->setFont(fonts::phoneBox());
    Text2->setText(texts::kSampleNumber);
    setColour(Text2, QPalette::Base, bgr(0x00C0C0C0));
    Text2->setKeyPressHandler([this](qint16 &keyAscii) { Text2_KeyPress(keyAscii); });

    // The hidden frame only stores texts for the handlers; it is never shown.
    Frame1 = makeControl<QFrame>(this, "Frame1");
    Frame1->setGeometry(twipsRect(4185, 2220, 120, 345));
    Frame1->hide();
    const auto store = [this](const char *name, const QString &text, QRect geometry) {
        auto *box = makeControl<TextStore>(Frame1, name, text);
        box->setGeometry(geometry);
        return box;
    };
    Text3 = store("Text3", texts::kNumberTrick, twipsRect(165, 990, 765, 375));
    Txt01 = store("Txt01", texts::kAnswerA, twipsRect(510, 1875, 780, 315));
    Txt02 = store("Txt02", texts::kAnswerB, twipsRect(495, 2565, 780, 315));
    Txt03 = store("Txt03", texts::kAnswerC, twipsRect(510, 3030, 780, 315));
    Txt04 = store("Txt04", texts::kAnswerD, twipsRect(510, 3540, 780, 315));
    Label1 = createLabel(
        Frame1, "Label1", u"吉凶解释："_s, 855, 180, palette().windowText().color(), font());
    Label2 = createLabel(
        Frame1, "Label2", u"吉凶注解："_s, 885, 495, palette().windowText().color(), font());
    Label1->setAutoFillBackground(true);
    Label2->setAutoFillBackground(true);

    // The answer boxes sit at the start of the answer lines A to D of Text4.
    // Ticking a box, whether by mouse, key or assistive technology, is its
    // click; the handler clears it again. (Each box is a Tab stop of its own,
    // so they are not put in a button group.)
    constexpr std::array<int, 4> checkTops { 4155, 4495, 4835, 5175 };
    for (int index = 0; index < int(Check1.size()); ++index) {
        QCheckBox *box = makeControl<QCheckBox>(this, "Check1");
        box->setGeometry(twipsRect(150, checkTops[std::size_t(index)], 255, 210));
        setColour(box, QPalette::Window, bgr(0x00FF8080)); // and Text4 shows through
        connect(box, &QCheckBox::toggled, this, [this, index](bool checked) {
            if (checked)
                Check1_Click(index);
        });
        Check1[std::size_t(index)] = box;
    }

    m_announcer = makeControl<Announcer>(this, "Announcer");
}

void frmmain::nameForAssistiveTechnology()
{
    Image2->setAccessibleName(u"拖动窗口"_s);
    Image1->setAccessibleName(u"关闭程序"_s);
    Label3->setBuddy(Text2);
    Text2->setAccessibleName(u"手机号码"_s);
    CmmTest->setAccessibleName(u"测算"_s);
    CmmTest->setAccessibleDescription(u"测算手机号码的吉凶"_s);
    Text1->setAccessibleName(u"测算结果"_s);
    Label7->setAccessibleName(u"其它功能"_s);
    Label7->setAccessibleDescription(u"打开或关闭数字游戏和密码测验"_s);
    Text4->setAccessibleName(u"密码测验题目"_s);
    const std::array answers { u"答案A：生日或自家电话号码"_s, u"答案B：身份证号码"_s,
        u"答案C：三天两头就视心情而更换"_s, u"答案D：精心设计，谁也猜不出的奇怪组合"_s };
    for (std::size_t index = 0; index < Check1.size(); ++index)
        Check1[index]->setAccessibleName(answers[index]);
}

void frmmain::arrangeTabOrder()
{
    const std::array<QWidget *, 9> order { CmmTest, Text1, Text2, Label7, Text4, Check1[0],
        Check1[1], Check1[2], Check1[3] };
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmmain::setHeightInTwips(int height)
{
    const QSize size(twips(kClientWidth), twips(height));
    // At a fractional scale the toolkit asks the window manager to size the
    // window in steps of whole device pixels (2 at 1.5) from a base size; with
    // the base at the window's own size, that step never rounds the size off.
    setBaseSize(size);
    setFixedSize(size);
    Label7->setExpanded(height == kOpenHeight);
    showControlsInView();
    keepOnScreen();
}

// What lies below the window's edge is hidden: out of the focus chain and out
// of sight of assistive technology. Focus inside it goes to the test button.
void frmmain::showControlsInView()
{
    const std::array<QWidget *, 5> panel { Text4, Check1[0], Check1[1], Check1[2], Check1[3] };
    for (QWidget *control : panel) {
        const bool inView = rect().contains(control->geometry());
        if (!inView && control->hasFocus())
            CmmTest->setFocus();
        control->setVisible(inView);
    }
}

// A window grown past the bottom of the screen's free area is moved up just
// enough to show all of it, where the platform lets a program place windows.
void frmmain::keepOnScreen()
{
    if (!isVisible())
        return;
    const QRect available = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const int overflow
        = std::min(frame.bottom() - available.bottom(), frame.top() - available.top());
    if (overflow > 0)
        move(pos() - QPoint(0, overflow));
}

void frmmain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        connect(windowHandle(), &QWindow::screenChanged, this, &frmmain::fitToScreen,
            Qt::UniqueConnection);
}

// Moved to a monitor of another scale, the window is drawn at that scale, but
// the toolkit leaves its size, and the size hints that fix it, in the old
// monitor's device pixels: on X11 only part of the window would show. Its
// fixed size is stated anew (through another, since QWindow::setMinimumSize
// returns early for the size it already has, in Qt 6.4.2, 6.8.2 and 6.11.2),
// in the new monitor's device pixels, and the window manager sizes the window
// to it. desktop_openbox_two_monitors fails should that change.
void frmmain::fitToScreen()
{
    QWindow *window = windowHandle();
    const QSize fixed = window->minimumSize();
    window->setMinimumSize(fixed - QSize(1, 1));
    window->setMinimumSize(fixed);
}

void frmmain::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), bgr(0x00800000));
    painter.drawImage(0, 0, m_skin);
}

void frmmain::keyPressEvent(QKeyEvent *event)
{
    // CmmTest is the default button: Enter pressed where no control takes it
    // (the phone box, the output box) presses it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        CmmTest->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

// ------------------------------------------------------------- handlers

void frmmain::Form_Load()
{
    PanelState = u"0"_s;
}

void frmmain::Text2_KeyPress(qint16 &KeyAscii)
{
    if (KeyAscii == 8 || (KeyAscii >= 48 && KeyAscii <= 57))
        return;
    KeyAscii = 0;
}

void frmmain::CmmTest_Click()
{
    Label1->setText(u"吉凶解释："_s);
    Label2->setText(u"吉凶注解："_s);
    Label3->setText(u"手机号码："_s);

    // The box holds ASCII digits only, however they came; an empty box gets
    // the prompts.
    const QByteArray phone = Text2->text().toUtf8();
    const std::optional<double> number
        = Mod_date::FortuneNumber(std::string_view(phone.constData(), std::size_t(phone.size())));
    if (number) {
        Label1->setText(Label1->text() + fromUtf8(Mod_date::FortuneVerdict(*number)));
        Label2->setText(Label2->text() + fromUtf8(Mod_date::FortuneText(*number)));
    } else {
        Text2->setFocus();
        Label1->setText(u"请输入手机号码"_s);
        Label2->setText(u"如：13XXXXXXXXX"_s);
    }

    const QString separator(23, u'-');
    const QString output = separator + kCrLf + Label3->text() + Text2->text() + kCrLf + separator
        + kCrLf + kCrLf + Label1->text() + kCrLf + kCrLf + Label2->text();
    Text1->setText(output);
    m_announcer->announce(output);
}

void frmmain::Label7_Click()
{
    if (PanelState.toInt() == 0) {
        Text1->setText(Text3->text());
        setHeightInTwips(kOpenHeight);
        PanelState = QString::number(1);
        m_announcer->announce(u"其它功能已打开"_s);
    } else {
        Text1->setText(Text3->text());
        setHeightInTwips(kClosedHeight);
        PanelState = QString::number(0);
        m_announcer->announce(u"其它功能已关闭"_s);
    }
}

void frmmain::Check1_Click(int Index)
{
    const std::array<TextStore *, 4> answers { Txt01, Txt02, Txt03, Txt04 };
    const QString interpretation = answers[std::size_t(Index)]->text();
    Text1->setText(interpretation);
    setHeightInTwips(kClosedHeight);
    Check1[std::size_t(Index)]->setChecked(false);
    PanelState = QString::number(0);
    m_announcer->announce(interpretation);
}

void frmmain::Image2_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, QPointF)
{
    ModmovForm::ReleaseCapture();
    ModmovForm::SendMessage(this, ModmovForm::WM_NCLBUTTONDOWN, ModmovForm::HTCAPTION, 0);
}

void frmmain::Image1_Click()
{
    QCoreApplication::exit(0);
}
