#pragma once

#include <cstdint>

namespace printing {

// Status results of the printing functions, in the style of the platform's OSStatus: zero is
// success, every failure is a distinct negative value.
using OSStatus = std::int32_t;

// Success; named as the platform names it, on purpose (not kNoErr).
inline constexpr OSStatus noErr = 0;
// A required argument (handle, key or out-pointer) was null or empty.
inline constexpr OSStatus kPMInvalidParameter = -50;
// The settings hold no value under the key.
inline constexpr OSStatus kPMKeyNotFound = -9589;
// The stored value is not of the type the caller asked for.
inline constexpr OSStatus kPMValueTypeMismatch = -9590;
// The key was stored with the lock flag on; its value cannot change any more.
inline constexpr OSStatus kPMKeyLocked = -9591;
// The store itself failed (the settings refused to keep the value).
inline constexpr OSStatus kPMStoreFailed = -9592;
// The session cannot tell where the job goes.
inline constexpr OSStatus kPMDestinationUnknown = -9593;
// The printer has no device URI.
inline constexpr OSStatus kPMNoDeviceURI = -9594;

} // namespace printing
