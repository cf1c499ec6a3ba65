#pragma once

#include "colorsetting.h"

#include <QPushButton>

namespace Toolkit {

// A graphical command button: the face is filled with the button's own back
// colour and the caption drawn on it in "MS Sans Serif" 12 pt, whose weight
// is the one thing that changes at run time.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommandButton(const QString &caption, QWidget *parent = nullptr);

    void setBackColor(ColorSetting color);
    ColorSetting backColor() const { return m_backColor; }

    void setFontBold(bool bold);
    bool fontBold() const { return font().bold(); }

    // A caption too wide for the face breaks between words onto more lines.
    void setWordWrap(bool on);
    bool wordWrap() const { return m_wordWrap; }

    // A button that only shows its caption, with nothing to press: a screen
    // reader reads it as text.
    void setTextPanel(bool on) { m_textPanel = on; }
    bool isTextPanel() const { return m_textPanel; }

signals:
    // The pointer moved over the button (buttons held or not).
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    ColorSetting m_backColor = systemColor(15);
    bool m_wordWrap = false;
    bool m_textPanel = false;
};

} // namespace Toolkit
