#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>

// The picture of a sweep, frequency over time: a trapezoid (rising ramp,
// dwell at the upper frequency, falling ramp, dwell at the lower frequency),
// or for the synchronous sweep two equal trapezoids one above the other with
// an arrow marking their distance. The edits of the sweep pages are children
// of the picture and sit at the places of the shape they stand for.
class TLFMShape : public QWidget {
  public:
    enum TSpot : int32_t {
        spFreqTop = 0,  // at the upper frequency level, left of the shape
        spFreqLabel,    // between the two frequency edits
        spFreqBot,      // at the lower frequency level
        spRise,         // under the rising ramp
        spTopDwell,     // under the upper dwell
        spFall,         // under the falling ramp
        spBotDwell,     // under the lower dwell
        spTimeLabel,    // under the time edits
        spDeltaLabel,   // synchronous picture: beside the offset arrow
        spDeltaEdit,    // synchronous picture: under its label
        spCount
    };

    TLFMShape(bool synchronous, QWidget* parent);

    // Puts `w` (a child of the picture) at `spot`.
    void Place(QWidget* w, TSpot spot);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override { return minimumSizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct TGeometry {
        int left, right;  // drawing area of the time axis
        int top, bottom;  // upper and lower frequency levels (first shape)
        int shift;        // synchronous: how far the second shape lies above
        int timeRow;      // y of the time edits
    };
    TGeometry Geometry() const;
    void Arrange();

    bool synchronous_;
    std::array<QPointer<QWidget>, spCount> placed_{};
};
