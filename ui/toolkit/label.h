#pragma once

#include "colorsetting.h"

#include <QWidget>

namespace Toolkit {

// A label: its back colour, an optional single-line border and a caption.
// Takes no keyboard focus.
class Label : public QWidget
{
    Q_OBJECT

public:
    enum BorderStyle { NoBorder = 0, FixedSingle = 1 };

    explicit Label(QWidget *parent = nullptr);

    void setCaption(const QString &caption);
    QString caption() const { return m_caption; }

    void setBackColor(ColorSetting color);
    ColorSetting backColor() const { return m_backColor; }

    void setForeColor(ColorSetting color);
    ColorSetting foreColor() const { return m_foreColor; }

    void setBorderStyle(BorderStyle style);
    BorderStyle borderStyle() const { return m_borderStyle; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    ColorSetting m_backColor = systemColor(15);
    ColorSetting m_foreColor = systemColor(18);
    BorderStyle m_borderStyle = NoBorder;
};

} // namespace Toolkit
