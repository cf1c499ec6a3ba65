#include "form2.h"

#include "creditsroll.h"
#include "creditstext.h"
#include "pictureboxcanvas.h"
#include "strippainter.h"

#include "ui/toolkit/colorsetting.h"
#include "ui/toolkit/commandbutton.h"
#include "ui/toolkit/eventhandler.h"
#include "ui/toolkit/fonts.h"
#include "ui/toolkit/picturebox.h"
#include "ui/toolkit/timer.h"
#include "ui/toolkit/twips.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QShowEvent>
#include <QStringList>

using namespace Toolkit;

namespace {

QFont arialNarrow(double points, bool bold)
{
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow")});
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

CommandButton *panel(std::string_view caption, QWidget *parent, QRect geometry, const QFont &font,
                     ColorSetting back)
{
    auto *button = new CommandButton(QString::fromLatin1(caption.data(), qsizetype(caption.size())), parent);
    button->setGeometry(geometry);
    button->setFont(font);
    button->setBackColor(back);
    button->setWordWrap(true);
    button->setTextPanel(true);
    return button;
}

void moveTop(QWidget *control, float twips)
{
    control->move(control->x(), twipsToPixels(twips));
}

} // namespace

Form2::Form2(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Quorvex Aim Fader"));
    setFixedSize(twipsToPixels(4425), twipsToPixels(3000));

    // Created bottom of the stack first: Main, Original, then the three panels.
    m_main = new PictureBox(this);
    m_main->setGeometry(twipsRect(0, 0, 4455, 3015));
    m_main->surface().setBackColor(systemColor(7));
    m_main->setAccessibleName(QStringLiteral("Credits artwork"));

    m_original = new PictureBox(this);
    m_original->setGeometry(twipsRect(4440, 3000, 4455, 3015));
    m_original->surface().setBackColor(systemColor(7));
    m_original->surface().setPicture(QImage(QStringLiteral(":/credits/credits.gif")));
    m_original->setAccessibleName(QStringLiteral("Credits artwork, still"));

    m_command1 = panel(Credits::kHeadingCaption, this, twipsRect(960, 3000, 2655, 495), msSansSerif(24),
                       colorValueOf(255, 255, 255));
    m_command2 = panel(Credits::kScreenNamesCaption, this, twipsRect(0, 3840, 4455, 2895), msSansSerif(13.5),
                       systemColor(9));
    m_command3 = panel(Credits::kCreatorsCaption, this, twipsRect(240, 3000, 3975, 735), arialNarrow(15.75, true),
                       systemColor(9));

    // The artwork is there to be watched, not worked: it keeps its look while
    // it holds the focus, as it does from the start.
    m_main->setFocusPolicy(Qt::StrongFocus);
    m_main->setShowsFocus(false);
    m_original->setFocusPolicy(Qt::StrongFocus);
    m_original->setShowsFocus(false);
    setTabOrder(m_main, m_original);
    setTabOrder(m_original, m_command1);
    setTabOrder(m_command1, m_command2);
    setTabOrder(m_command2, m_command3);

    Form_Load();

    auto timer = [this](int interval, void (Form2::*handler)()) {
        auto *t = new Timer(this);
        connect(t, &Timer::tick, this, [this, handler] { runEventHandler([this, handler] { (this->*handler)(); }); });
        t->setInterval(interval);
        return t;
    };
    m_timer1 = timer(30, &Form2::Timer1_Timer);
    m_timer2 = timer(1, &Form2::Timer2_Timer);
    m_timer3 = timer(1, &Form2::Timer3_Timer);
}

double Form2::outerHeightTwips() const
{
    return pixelsToTwips(frameGeometry().height());
}

void Form2::Form_Load()
{
    // The frame is not known yet while the window is built: this is the client
    // height until the first tick after the platform has framed the window.
    m_rollOuterHeight = outerHeightTwips();
    m_state.RollPosition = float(m_rollOuterHeight);
    m_random.seedFromTimeOfDay();
    m_state.PreviousFactor = 1;
    m_loaded = true;
}

void Form2::Timer1_Timer()
{
    // Nobody sees Main while the window is hidden: no drawing, no CPU spent.
    if (!isVisible() || isMinimized())
        return;
    Credits::PictureBoxCanvas canvas(*m_main, *m_original);
    Credits::paintStrips(canvas, m_state, [this] { return m_random(); });
    m_main->update();
}

void Form2::Timer2_Timer()
{
    m_state.BaseLevel = Credits::baseLevelFrom(m_random());
}

void Form2::Timer3_Timer()
{
    Credits::followOuterHeight(m_state.RollPosition, m_rollOuterHeight, outerHeightTwips());
    const Credits::PanelTops tops = Credits::rollOneTick(m_state.RollPosition);
    moveTop(m_command1, tops.command1);
    moveTop(m_command2, tops.command2);
    moveTop(m_command3, tops.command3);
    if (Credits::handOffDue(m_rollOuterHeight, pixelsToTwips(m_command3->y()))) {
        // The program keeps the fader window up from now on: a roll ticking
        // on would only wake the program 60 times a second to show it again.
        m_timer3->setEnabled(false);
        emit handOffDue();
        hide();
    }
}

void Form2::unload()
{
    if (!m_loaded)
        return;
    m_loaded = false;
    for (Timer *t : {m_timer1, m_timer2, m_timer3})
        t->setEnabled(false);
    hide();
    emit unloaded();
}

void Form2::closeEvent(QCloseEvent *event)
{
    unload();
    event->accept();
}

// The picture animation serves only eyes: its two timers rest while the
// window is hidden. With the roll stopped at the hand-off, the program then
// idles.
void Form2::animate(bool on)
{
    m_timer1->setEnabled(on);
    m_timer2->setEnabled(on);
}

void Form2::showEvent(QShowEvent *event)
{
    if (m_loaded && !event->spontaneous())
        animate(true);
    QWidget::showEvent(event);
}

void Form2::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        animate(false);
    QWidget::hideEvent(event);
}
