#pragma once

#include "colorsetting.h"

#include <QPointer>
#include <QWidget>

namespace Toolkit {

// A label: its back colour, an optional single-line border and a caption.
// Takes no keyboard focus. A screen reader reads a captioned label as text,
// naming the control it is the buddy of; a label without a caption is a
// swatch, read as an image described by its colour.
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

    // The control this label names.
    void setBuddy(QWidget *buddy) { m_buddy = buddy; }
    QWidget *buddy() const { return m_buddy; }
    // The labels beside control that name it.
    static QList<Label *> labelsOf(const QWidget *control);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    ColorSetting m_backColor = systemColor(15);
    ColorSetting m_foreColor = systemColor(18);
    BorderStyle m_borderStyle = NoBorder;
    QPointer<QWidget> m_buddy;
};

} // namespace Toolkit
