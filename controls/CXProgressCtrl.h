#pragma once
#include <QColor>
#include <QString>
#include <QWidget>

namespace kel {

// A progress bar that paints itself: a light field in a flat sunken border, a
// bar growing from the left, and a centred caption that is dark over the field
// and light over the bar. The caption is the percentage ("13% ") until
// ShowText() sets a text; the owner may turn the percentage back on.
class CXProgressCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CXProgressCtrl(QWidget* parent = nullptr);
    ~CXProgressCtrl() override;

    // Colors and caption mode, open to the owner; read at every paint.
    QColor barColor{128, 128, 255};
    QColor fieldColor{235, 235, 235};
    QColor captionColor{0, 0, 0};
    QColor captionOnBarColor{255, 255, 255};
    int showPercentage = 1;

    // Range and position, as a progress bar has them (default 0..100, 0).
    void setRange(int minimum, int maximum);
    void setValue(int value);  // clamped to the range
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int value() const { return value_; }

    // Makes `text` the caption and turns the percentage off.
    void ShowText(const QString& text);
    QString text() const { return text_; }

    // What the next paint shows, for the owner and for tests.
    double Fraction() const;
    QString Caption() const;
    QRect BarRect() const;    // in widget coordinates
    QRect InnerRect() const;  // inside the 2 px border

    QSize sizeHint() const override;

    // Paints the whole control into an image of its size at this device
    // pixel ratio: what a paint puts on the screen.
    QImage Render(qreal scale) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int minimum_ = 0;
    int maximum_ = 100;
    int value_ = 0;
    QString text_;
};

}  // namespace kel
