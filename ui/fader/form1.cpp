#include "form1.h"

#include "faderlayout.h"

#include "fade/varlofade.h"
#include "messenger/sendimtext.h"
#include "ui/toolkit/colorsetting.h"
#include "ui/toolkit/commandbutton.h"
#include "ui/toolkit/eventhandler.h"
#include "ui/toolkit/hscrollbar.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/multilinetextbox.h"
#include "ui/toolkit/picturebox.h"
#include "ui/toolkit/textbox.h"
#include "ui/toolkit/twips.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include <algorithm>
#include <vector>

namespace {

template <typename Control>
Control *place(Control *control, const char *name)
{
    const FaderLayout::ControlPlace *p = FaderLayout::place(name);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(Toolkit::twipsRect(p->left, p->top, p->width, p->height));
    return control;
}

std::u16string_view view(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())};
}

// One turn of event processing, handed to the engine for the points inside a
// command where other events may run.
void processPendingEvents()
{
    QCoreApplication::processEvents();
}

} // namespace

Form1::Form1(Tarnellbas::WindowSystem &windows, QWidget *parent)
    : QWidget(parent)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Quorvex AimFader"));
    setMouseTracking(true);
    createControls();
    connectHandlers();
    setTabOrder();
    Command3->setFocus();
    Form_Load();
}

void Form1::createControls()
{
    // What a screen reader says: the designed names stay the object names.
    auto bar = [this](const char *name, const char *spoken) {
        auto *control = place(new Toolkit::HScrollBar(this), name);
        control->setAccessibleName(QLatin1String(spoken));
        return control;
    };
    red1 = bar("red1", "Colour 1, red");
    green1 = bar("green1", "Colour 1, green");
    blue1 = bar("blue1", "Colour 1, blue");
    red2 = bar("red2", "Colour 2, red");
    green2 = bar("green2", "Colour 2, green");
    blue2 = bar("blue2", "Colour 2, blue");
    red3 = bar("red3", "Colour 3, red");
    green3 = bar("green3", "Colour 3, green");
    blue3 = bar("blue3", "Colour 3, blue");

    auto swatch = [this](const char *name, const char *spoken) {
        auto *label = place(new Toolkit::Label(this), name);
        label->setBackColor(Toolkit::kSysMenuText);
        label->setBorderStyle(Toolkit::Label::FixedSingle);
        label->setAccessibleName(QLatin1String(spoken));
        return label;
    };
    color1 = swatch("color1", "Colour 1");
    color2 = swatch("color2", "Colour 2");
    Color3 = swatch("Color3", "Colour 3");

    Command1 = place(new Toolkit::CommandButton(QStringLiteral("Fade"), this), "Command1");
    Command1->setBackColor(0x00FFFFFF);
    Command5 = place(new Toolkit::CommandButton(QStringLiteral("Fade Wavy"), this), "Command5");
    Command5->setBackColor(Toolkit::kSysCaptionText);
    // Enter runs it (keyPressEvent); marked so that a screen reader says so.
    Command5->setDefault(true);
    Command3 = place(new Toolkit::CommandButton(QStringLiteral("Send IM"), this), "Command3");
    Command3->setBackColor(Toolkit::kSysCaptionText);

    Text1 = place(new Toolkit::TextBox(this), "Text1");
    Text1->setText(QStringLiteral("Text Here"));
    Text1->setAccessibleName(QStringLiteral("Text to fade"));
    Text2 = place(new Toolkit::MultiLineTextBox(this), "Text2");
    Text2->setText(QStringLiteral("html code\r\n"));
    Text2->setAccessibleName(QStringLiteral("HTML code"));

    Label1 = place(new Toolkit::Label(this), "Label1");
    Label1->setCaption(QStringLiteral("faded text"));
    Label1->setBackColor(Toolkit::kSysWindow);
    Label1->setForeColor(Toolkit::kSysWindowText);

    Picture1 = place(new Toolkit::PictureBox(this), "Picture1");
    Picture1->surface().setBackColor(0x00FFFFFF);
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Picture1->setAccessibleName(QStringLiteral("HTML preview"));
    Label1->setBuddy(Picture1);
}

void Form1::connectHandlers()
{
    const std::pair<Toolkit::HScrollBar *, void (Form1::*)()> bars[] = {
        {red1, &Form1::Red1_Change},   {green1, &Form1::Green1_Change}, {blue1, &Form1::Blue1_Change},
        {red2, &Form1::red2_Change},   {green2, &Form1::green2_Change}, {blue2, &Form1::blue2_Change},
        {red3, &Form1::red3_Change},   {green3, &Form1::green3_Change}, {blue3, &Form1::blue3_Change},
    };
    for (const auto &[bar, handler] : bars)
        connect(bar, &Toolkit::HScrollBar::change, this, [this, handler = handler] {
            Toolkit::runEventHandler([this, handler] { (this->*handler)(); });
        });

    connect(Command1, &Toolkit::CommandButton::mouseMoved, this, &Form1::Command1_MouseMove);
    connect(Command3, &Toolkit::CommandButton::mouseMoved, this, &Form1::Command3_MouseMove);
    connect(Command5, &Toolkit::CommandButton::mouseMoved, this, &Form1::Command5_MouseMove);

    connect(Command1, &QAbstractButton::clicked, this, [this] { runCommand(&Form1::Command1_Click); });
    connect(Command5, &QAbstractButton::clicked, this, [this] { runCommand(&Form1::Command5_Click); });
    connect(Command3, &QAbstractButton::clicked, this, [this] { runCommand(&Form1::Command3_Click); });
}

void Form1::runCommand(void (Form1::*handler)())
{
    ++m_commandsRunning;
    Toolkit::runEventHandler([this, handler] { (this->*handler)(); });
    if (--m_commandsRunning == 0 && m_deleteWhenIdle)
        deleteLater();
}

bool Form1::event(QEvent *event)
{
    // Commands let events run while they draw the preview or wait for AIM; a
    // window closed then is deleted when they are done, not under their feet.
    if (event->type() == QEvent::DeferredDelete && m_commandsRunning > 0) {
        m_deleteWhenIdle = true;
        return true;
    }
    return QWidget::event(event);
}

void Form1::setTabOrder()
{
    std::vector<const FaderLayout::ControlPlace *> order;
    for (const FaderLayout::ControlPlace &p : FaderLayout::kControls)
        order.push_back(&p);
    std::sort(order.begin(), order.end(), [](auto *a, auto *b) { return a->tabIndex < b->tabIndex; });
    QWidget *previous = nullptr;
    for (const FaderLayout::ControlPlace *p : order) {
        QWidget *control = findChild<QWidget *>(QLatin1String(p->name), Qt::FindDirectChildrenOnly);
        if (!control || control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void Form1::Form_Load()
{
    using namespace FaderLayout;
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // The outer size of 7410 x 3090 twips is the designed client area inside
    // the frame; the client area is sized, the frame is the platform's.
    const QSize client(Toolkit::twipsToPixels(kClientWidthTwips), Toolkit::twipsToPixels(kClientHeightTwips));
#ifdef Q_OS_WIN
    // Qt's move() would place the visible frame, leaving out borders it takes
    // for invisible (Wine draws them); SetWindowPos places the window rectangle.
    // The place is in design units like the size, so it scales with the
    // display as the size does: (150, 150) at 150 %.
    const HWND hwnd = reinterpret_cast<HWND>(winId());
    const qreal ratio = devicePixelRatioF();
    SetWindowPos(hwnd, HWND_TOPMOST, qRound(kScreenLeft * ratio), qRound(kScreenTop * ratio), kSetWindowPosWidth,
                 kSetWindowPosHeight, 0);
    RECT outer{0, 0, qRound(client.width() * ratio), qRound(client.height() * ratio)};
    AdjustWindowRectEx(&outer, DWORD(GetWindowLongW(hwnd, GWL_STYLE)), FALSE, DWORD(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Qt learns of the change only from later events; until then showing the
    // window would put back the place Qt last knew. Tell it the client area.
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    setGeometry(QRect(QPoint(qRound(origin.x / ratio), qRound(origin.y / ratio)), client));
#else
    move(kScreenLeft, kScreenTop);
    resize(client);
#endif
}

void Form1::paintSwatch(Toolkit::Label *swatch, Toolkit::HScrollBar *red, Toolkit::HScrollBar *green,
                        Toolkit::HScrollBar *blue)
{
    const int r = red->value();
    const int g = green->value();
    const int b = blue->value();
    swatch->setBackColor(Toolkit::colorValueOf(r, g, b));
}

void Form1::Red1_Change() { paintSwatch(color1, red1, green1, blue1); }
void Form1::Green1_Change() { paintSwatch(color1, red1, green1, blue1); }
void Form1::Blue1_Change() { paintSwatch(color1, red1, green1, blue1); }
void Form1::red2_Change() { paintSwatch(color2, red2, green2, blue2); }
void Form1::green2_Change() { paintSwatch(color2, red2, green2, blue2); }
void Form1::blue2_Change() { paintSwatch(color2, red2, green2, blue2); }
void Form1::red3_Change() { paintSwatch(Color3, red3, green3, blue3); }
void Form1::green3_Change() { paintSwatch(Color3, red3, green3, blue3); }
void Form1::blue3_Change() { paintSwatch(Color3, red3, green3, blue3); }

void Form1::Command1_MouseMove() { Command1->setFontBold(true); }
void Form1::Command3_MouseMove() { Command3->setFontBold(true); }
void Form1::Command5_MouseMove() { Command5->setFontBold(true); }

void Form1::Form_MouseMove()
{
    Command1->setFontBold(false);
    Command3->setFontBold(false);
    Command5->setFontBold(false);
}

void Form1::Command1_Click() { fade(false); }
void Form1::Command5_Click() { fade(true); }

void Form1::Command3_Click()
{
    // The text as it is now; a command run during the wait for AIM may change
    // the box, not what this one sends.
    const std::u16string text = Text2->text().toStdU16String();
    Tarnellbas::SendImText(m_windows, text, processPendingEvents);
}

void Form1::fade(bool wavy)
{
    const VarloFade::ColorValue colour1 = color1->backColor();
    const VarloFade::ColorValue colour2 = color2->backColor();
    const VarloFade::ColorValue colour3 = Color3->backColor();
    // The handler's own reference to the text: it shares the box's buffer, and
    // a later edit of the box leaves it alone.
    const QString text = Text1->text();
    // The fade writes straight into the string the HTML box then shares: a
    // text of 32,767 characters makes 1.4 MB of HTML, copied nowhere.
    QString html(qsizetype(VarloFade::FadedLength(view(text), wavy)), Qt::Uninitialized);
    VarloFade::FadeTextInto(colour1, colour2, colour3, view(text), wavy, reinterpret_cast<char16_t *>(html.data()));
    Text2->setText(std::move(html));
    // The preview shows what the box holds, which is not always what the fade
    // made. The reference keeps that text alive should a command run during
    // the render replace the box's text.
    const QString shown = Text2->text();
    VarloFade::RenderHtmlPreview(Picture1->surface(), view(shown), processPendingEvents);
}

void Form1::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused command button, elsewhere the default button
    // "Fade Wavy". The HTML box keeps Enter for its own line breaks.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        auto *focused = qobject_cast<Toolkit::CommandButton *>(focusWidget());
        (focused ? focused : Command5)->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over controls that do not track the mouse reach the window too;
    // only the bare background counts.
    if (!childAt(event->position().toPoint()))
        Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}

void Form1::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Toolkit::resolveColor(Toolkit::kSysMenuText));
}
