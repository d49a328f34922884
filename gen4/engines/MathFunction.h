#pragma once

#include <cstdint>
#include <memory>

#include "gen4/ZyGen4Types.h"

// Bytes one reading takes in the serialised block.
enum TBytesPerReading : int32_t {
    BPR_2bytes = 0,
    BPR_4bytes = 1,
};

// One modulating waveform (sine, triangle or rectangle) sampled into integer
// instrument codes and serialised into a byte block that an engine sends as it
// is. The owner picks the centre code CA, the deviation code CB, the number of
// readings and the wire layout; this class knows nothing of the instrument.
//
// Recomputation: an accepted setter call recomputes while AutoUpdate is on,
// SetAutoUpdate(true) recomputes, and any change of PropsLoaded recomputes;
// nothing is computed while PropsLoaded is off. A value equal to the stored
// one is never taken as a change, so re-applying unchanged parameters leaves
// the block untouched.
class TMathFunction {
  public:
    // Largest readings count accepted: keeps the block size (count × 4) an int.
    static constexpr int kMaxReadingsCount = INT32_MAX / 4;

    TMathFunction();
    virtual ~TMathFunction();

    TMathFunction(const TMathFunction&) = delete;
    TMathFunction& operator=(const TMathFunction&) = delete;

    int ReadingsCount() const { return ReadingsCount_; }
    int ReadingsMemorySize() const { return ReadingsMemorySize_; }
    // The serialised readings; null while the count is 0.
    const uint8_t* ReadingsMemory() const { return ReadingsMemory_.get(); }
    bool PropsLoaded() const { return PropsLoaded_; }
    bool AutoUpdate() const { return AutoUpdate_; }
    double CA() const { return CA_; }
    double CB() const { return CB_; }
    double CC() const { return CC_; }
    TMathFuncsTypes FunctionType() const { return FunctionType_; }
    bool DirectRdsBytes() const { return DirectRdsBytes_; }
    TBytesPerReading BytesPerReading() const { return BytesPerReading_; }
    bool DirectRdsOrder() const { return DirectRdsOrder_; }
    bool HalfOfPeriod() const { return HalfOfPeriod_; }

    // Negative counts and counts above kMaxReadingsCount are ignored.
    void SetReadingsCount(int value);
    void SetBytesPerReading(TBytesPerReading value);
    void Set_CA(double value);
    void Set_CB(double value);
    // Values below 0, above 1 or not a number are ignored.
    void Set_CC(double value);
    void SetFunctionType(TMathFuncsTypes value);
    void SetDirectRdsBytes(bool value);
    void SetDirectRdsOrder(bool value);
    void SetHalfOfPeriod(bool value);
    void SetAutoUpdate(bool value);
    void SetPropsLoaded(bool value);

    // Rebuilds the block from the current parameters unless PropsLoaded is off.
    void UpdateReadings();

    // How many times the block has been rebuilt since construction.
    int UpdateCount() const { return UpdateCount_; }

    // Bytes per reading of the current layout: 2 or 4.
    int BytesPerReadingCount() const { return BytesPerReading_ == BPR_4bytes ? 4 : 2; }

    // The code a value v becomes: rounded to the nearest integer (ties to
    // even), then its low 32 bits as two's complement, as every DDS code is
    // formed; a value that is not finite gives 0.
    static uint32_t ReadingCode(double v);

  private:
    void ResizeReadingsMemory();
    void DeleteReadingsMemory();
    void CreateReadings();
    double ReadingValue(int i) const;
    void Changed();

    int ReadingsCount_ = 0;
    int ReadingsMemorySize_ = 0;
    std::unique_ptr<uint8_t[]> ReadingsMemory_;
    bool PropsLoaded_ = true;
    bool AutoUpdate_ = true;
    double CA_ = 1.0;
    double CB_ = 1.0;
    double CC_ = 0.5;
    TMathFuncsTypes FunctionType_ = ZMFT_sin;
    bool DirectRdsBytes_ = true;
    TBytesPerReading BytesPerReading_ = BPR_2bytes;
    bool DirectRdsOrder_ = true;
    bool HalfOfPeriod_ = false;
    int UpdateCount_ = 0;
};
