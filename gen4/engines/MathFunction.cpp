#include "gen4/engines/MathFunction.h"

#include <cmath>

#include "gen4/CodeRounding.h"

namespace {

constexpr double kPi = 3.141592653589793;

}  // namespace

TMathFunction::TMathFunction() = default;

TMathFunction::~TMathFunction() {
    DeleteReadingsMemory();
}

void TMathFunction::Changed() {
    if (AutoUpdate_) UpdateReadings();
}

void TMathFunction::SetReadingsCount(int value) {
    if (value == ReadingsCount_ || value < 0 || value > kMaxReadingsCount) return;
    ReadingsCount_ = value;
    Changed();
}

void TMathFunction::SetBytesPerReading(TBytesPerReading value) {
    if (value == BytesPerReading_) return;
    BytesPerReading_ = value;
    Changed();
}

void TMathFunction::Set_CA(double value) {
    if (value == CA_) return;
    CA_ = value;
    Changed();
}

void TMathFunction::Set_CB(double value) {
    if (value == CB_) return;
    CB_ = value;
    Changed();
}

void TMathFunction::Set_CC(double value) {
    if (value == CC_ || !(value >= 0.0 && value <= 1.0)) return;
    CC_ = value;
    Changed();
}

void TMathFunction::SetFunctionType(TMathFuncsTypes value) {
    if (value == FunctionType_) return;
    FunctionType_ = value;
    Changed();
}

void TMathFunction::SetDirectRdsBytes(bool value) {
    if (value == DirectRdsBytes_) return;
    DirectRdsBytes_ = value;
    Changed();
}

void TMathFunction::SetDirectRdsOrder(bool value) {
    if (value == DirectRdsOrder_) return;
    DirectRdsOrder_ = value;
    Changed();
}

void TMathFunction::SetHalfOfPeriod(bool value) {
    if (value == HalfOfPeriod_) return;
    HalfOfPeriod_ = value;
    Changed();
}

void TMathFunction::SetAutoUpdate(bool value) {
    if (value == AutoUpdate_) return;
    AutoUpdate_ = value;
    if (value) UpdateReadings();
}

void TMathFunction::SetPropsLoaded(bool value) {
    if (value == PropsLoaded_) return;
    PropsLoaded_ = value;
    UpdateReadings();
}

void TMathFunction::UpdateReadings() {
    if (!PropsLoaded_) return;
    ResizeReadingsMemory();
    CreateReadings();
    ++UpdateCount_;
}

void TMathFunction::DeleteReadingsMemory() {
    ReadingsMemory_.reset();
    ReadingsMemorySize_ = 0;
}

void TMathFunction::ResizeReadingsMemory() {
    DeleteReadingsMemory();
    if (ReadingsCount_ <= 0) return;
    ReadingsMemorySize_ = ReadingsCount_ * BytesPerReadingCount();
    ReadingsMemory_ = std::make_unique<uint8_t[]>(static_cast<std::size_t>(ReadingsMemorySize_));
}

double TMathFunction::ReadingValue(int i) const {
    const double n = ReadingsCount_;
    switch (FunctionType_) {
        case ZMFT_sin: {
            const double k = HalfOfPeriod_ ? 1.0 : 2.0;
            return CA_ + CB_ * std::sin(k * kPi * i / n);
        }
        case ZMFT_triangle: {
            // Rises from CA - CB to CA + CB over the fraction CC of the period,
            // then falls back. CC = 0 never takes the rising branch and CC = 1
            // never takes the falling one, so neither divides by zero.
            const double x = i / n;
            const double y = x < CC_ ? x / CC_ : (CC_ - x) / (1.0 - CC_) + 1.0;
            return (CA_ - CB_) + 2.0 * CB_ * y;
        }
        case ZMFT_rect: {
            const double r = std::nearbyint(n * CC_);  // ties to even
            return i < r ? CA_ + CB_ : CA_ - CB_;
        }
        default:
            return CA_;
    }
}

uint32_t TMathFunction::ReadingCode(double v) {
    return static_cast<uint32_t>(RoundLow32(v));
}

void TMathFunction::CreateReadings() {
    const int n = ReadingsCount_;
    const int w = BytesPerReadingCount();
    if (n <= 0 || !ReadingsMemory_ || ReadingsMemorySize_ != n * w) return;
    uint8_t* block = ReadingsMemory_.get();
    for (int i = 0; i < n; ++i) {
        const uint32_t code = ReadingCode(ReadingValue(i));
        const uint8_t b[4] = {static_cast<uint8_t>(code), static_cast<uint8_t>(code >> 8),
                              static_cast<uint8_t>(code >> 16), static_cast<uint8_t>(code >> 24)};
        const int slot = DirectRdsOrder_ ? i : n - 1 - i;
        uint8_t* out = block + static_cast<std::size_t>(slot) * w;
        for (int j = 0; j < w; ++j) out[j] = DirectRdsBytes_ ? b[j] : b[w - 1 - j];
    }
}
