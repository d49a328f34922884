#include "platform/SteadyTickSource.h"

#include <chrono>
#include <thread>

uint32_t TSteadyTickSource::GetTickCount() {
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms);
}

void TSteadyTickSource::Sleep(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
