// The toolkit's scroll bar, command button and label on their own.
#include "ui/toolkit/commandbutton.h"
#include "ui/toolkit/hscrollbar.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/textbox.h"

#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTest>

namespace {

QPoint centreOf(Toolkit::HScrollBar &bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = bar.sliderPosition();
    option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    option.upsideDown = bar.invertedAppearance();
    option.state |= QStyle::State_Horizontal;
    return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar).center();
}

void sendMouse(QWidget *to, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, to->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &event);
}

} // namespace

class ControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void scrollBarStartsAtZeroWithStepsOfOne()
    {
        Toolkit::HScrollBar bar;
        QCOMPARE(bar.minimum(), 0);
        QCOMPARE(bar.maximum(), 255);
        QCOMPARE(bar.value(), 0);
        QCOMPARE(bar.singleStep(), 1);
        QCOMPARE(bar.pageStep(), 1);
        QVERIFY(bar.focusPolicy() & Qt::TabFocus);
        // A change from code is reported like one from the user.
        QSignalSpy changes(&bar, &Toolkit::HScrollBar::change);
        bar.setValue(77);
        QCOMPARE(changes.count(), 1);
    }

    void scrollBarReportsEveryChange_data()
    {
        QTest::addColumn<int>("part"); // clicked, or SC_None for a key
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expectedValue");
        QTest::addColumn<int>("expectedChanges");
        QTest::newRow("right arrow") << int(QStyle::SC_ScrollBarAddLine) << 0 << 1 << 1;
        QTest::newRow("trough right of the thumb") << int(QStyle::SC_ScrollBarAddPage) << 0 << 1 << 1;
        QTest::newRow("key Right") << int(QStyle::SC_None) << int(Qt::Key_Right) << 1 << 1;
        QTest::newRow("key Down") << int(QStyle::SC_None) << int(Qt::Key_Down) << 1 << 1;
        QTest::newRow("key PageDown") << int(QStyle::SC_None) << int(Qt::Key_PageDown) << 1 << 1;
        QTest::newRow("key End") << int(QStyle::SC_None) << int(Qt::Key_End) << 255 << 1;
        QTest::newRow("left arrow at 0 changes nothing") << int(QStyle::SC_ScrollBarSubLine) << 0 << 0 << 0;
    }

    void scrollBarReportsEveryChange()
    {
        QFETCH(int, part);
        QFETCH(int, key);
        QFETCH(int, expectedValue);
        QFETCH(int, expectedChanges);
        Toolkit::HScrollBar bar;
        bar.resize(81, 17);
        bar.show();
        QSignalSpy changes(&bar, &Toolkit::HScrollBar::change);
        if (part != QStyle::SC_None)
            QTest::mouseClick(&bar, Qt::LeftButton, {}, centreOf(bar, QStyle::SubControl(part)));
        else
            QTest::keyClick(&bar, Qt::Key(key));
        QCOMPARE(bar.value(), expectedValue);
        QCOMPARE(changes.count(), expectedChanges);
    }

    void draggedThumbChangesOnlyOnRelease()
    {
        Toolkit::HScrollBar bar;
        bar.resize(81, 17);
        bar.show();
        QSignalSpy changes(&bar, &Toolkit::HScrollBar::change);
        const QPoint thumb = centreOf(bar, QStyle::SC_ScrollBarSlider);
        const QPoint far = centreOf(bar, QStyle::SC_ScrollBarAddLine) - QPoint(10, 0);
        sendMouse(&bar, QEvent::MouseButtonPress, thumb, Qt::LeftButton);
        for (int x = thumb.x() + 1; x <= far.x(); ++x)
            sendMouse(&bar, QEvent::MouseMove, QPoint(x, thumb.y()), Qt::LeftButton);
        QVERIFY(bar.isSliderDown());
        QVERIFY(bar.sliderPosition() > 100);
        QCOMPARE(bar.value(), 0);
        QCOMPARE(changes.count(), 0);
        const int dropped = bar.sliderPosition();
        sendMouse(&bar, QEvent::MouseButtonRelease, far, Qt::NoButton);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(bar.value(), dropped);
    }

    void buttonBoldFlagChangesOnlyTheWeight()
    {
        Toolkit::CommandButton button(QStringLiteral("Fade"));
        const QFont before = button.font();
        QCOMPARE(before.weight(), QFont::Normal);
        QCOMPARE(before.pointSizeF(), 12.0);
        QVERIFY(before.families().startsWith(QStringLiteral("MS Sans Serif")));
        QFont bold = before;
        bold.setWeight(QFont::Bold);
        button.setFontBold(true);
        QCOMPARE(button.font(), bold);
        button.setFontBold(false);
        QCOMPARE(button.font(), before);
    }

    void buttonFaceShowsItsBackColor_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<QColor>("face");
        QTest::newRow("white value") << 0x00FFFFFF << QColor(255, 255, 255);
        QTest::newRow("caption text, white") << int(Toolkit::kSysCaptionText) << QColor(255, 255, 255);
        QTest::newRow("red value") << 0x000000FF << QColor(255, 0, 0);
        QTest::newRow("blue value") << 0x00FF0000 << QColor(0, 0, 255);
    }

    void buttonFaceShowsItsBackColor()
    {
        QFETCH(int, setting);
        QFETCH(QColor, face);
        Toolkit::CommandButton button(QStringLiteral("Fade"));
        button.resize(97, 33);
        button.setBackColor(setting);
        const QImage image = button.grab().toImage();
        // Inside the bevel, away from the caption.
        QCOMPARE(image.pixelColor(5, 5), face);
        QCOMPARE(image.pixelColor(90, 27), face);
    }

    void buttonSignalsPointerMoves()
    {
        Toolkit::CommandButton button(QStringLiteral("Fade"));
        button.resize(97, 33);
        button.show();
        QVERIFY(button.hasMouseTracking());
        QSignalSpy moved(&button, &Toolkit::CommandButton::mouseMoved);
        sendMouse(&button, QEvent::MouseMove, QPoint(10, 10), Qt::NoButton);
        QCOMPARE(moved.count(), 1);
    }

    void labelReadsBackItsSettings()
    {
        Toolkit::Label label;
        label.resize(73, 49);
        label.setBorderStyle(Toolkit::Label::FixedSingle);
        QCOMPARE(label.focusPolicy(), Qt::NoFocus);
        // A system colour is kept as the setting, not as the colour it stands for.
        for (auto [setting, shown] : {std::pair{int(0x80000007), QColor(0, 0, 0)},
                                      std::pair{0x00010000, QColor(0, 0, 1)}}) {
            label.setBackColor(setting);
            QCOMPARE(label.backColor(), setting);
            QCOMPARE(label.grab().toImage().pixelColor(30, 30), shown);
        }
    }

    void oneLineBoxTakesLongTextsAndKeepsBreaks()
    {
        Toolkit::TextBox box;
        const QString text = QStringLiteral("a\r\nb\rc\n") + QString(40000, u'x');
        box.setText(text);
        QCOMPARE(box.text(), text);
    }
};

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
