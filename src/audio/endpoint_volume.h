#pragma once
// Volume per endpoint, on the platforms that keep it so (Vista and later):
// the handset's endpoints found by name and their levels on the 0 ... 31
// scale. Every level call holds the handset lock.

#include <cstdint>

#include "platform/endpoint_volume.h"
#include "platform/sync.h"

namespace audio {

// 1 on Vista and later, else 0; asked anew, with its traces, at every use.
int CheckIsVistaOs();
// Sets the endpoint's level to value ÷ 31 (nothing but traces without one).
void SetVistaVolume(platform::EndpointObject endpoint, int value);
// The endpoint's level × 31, cut towards zero; 0 without an endpoint.
int GetVistaVolume(platform::EndpointObject endpoint);
// A volume key on Vista and later: the level moves by 2 of 16 levels, the
// step of the talking mode's volume, and stays within 0.0 ... 1.0.
void StepVistaVolume(platform::EndpointObject endpoint, bool up);
constexpr float kVistaKeyStep = 2.0f / 16.0f;
// Stores the volume object of the first active endpoint of the data flow
// whose device-interface name contains "USB"; `endpoint` is left as it was
// when there is none.
void GetUsbPhoneVolumeCtrl(platform::EndpointObject& endpoint, uint32_t dataFlow);

// The handset lock (the program's handset command lock), which the level
// calls take; until it is set they take a lock of their own.
void SetHandsetLock(platform::CriticalSection* lock);

}  // namespace audio
