#pragma once

#include <QLatin1String>

namespace tarvik_pde_m40vextel {

// Key-value keys that the layouts bind to and the code reads or writes by name. Each is the name
// of a property of the class named above it, spelled as the layouts spell it; a test checks that
// each one names its property.

// FaxSettingController: the entry fields and choices of the fax-sending dialog.
inline constexpr QLatin1String kAddressNameKey{"addressName"};
inline constexpr QLatin1String kAddressPhoneNumberKey{"addressPhoneNumber"};
inline constexpr QLatin1String kPasswordKey{"password"};
inline constexpr QLatin1String kDelayedPrintKey{"delayedPrint"};
inline constexpr QLatin1String kDelayedTimeKey{"delayedTime"};
inline constexpr QLatin1String kIsAddressFileAvailableKey{"isAddressFileAvailable"};
// FaxSettingController: derived flags that enable the dialog's buttons.
inline constexpr QLatin1String kCanAddAddressKey{"canAddAddress"};
inline constexpr QLatin1String kCanEditAddressKey{"canEditAddress"};
inline constexpr QLatin1String kCanDeleteAddressKey{"canDeleteAddress"};
inline constexpr QLatin1String kCanAddToAddressFileKey{"canAddToAddressFile"};
inline constexpr QLatin1String kIsDelayedTimeKey{"isDelayedTime"};

// AddressInformation, one recipient; also the columns of the recipient table.
inline constexpr QLatin1String kNameKey{"name"};
inline constexpr QLatin1String kPhoneNumberKey{"phoneNumber"};
inline constexpr QLatin1String kCompanyKey{"company"};
inline constexpr QLatin1String kNoteKey{"note"};

// An entry of the address-file list: the file's name (kNameKey) and its full path.
inline constexpr QLatin1String kPathKey{"path"};

// AddressBookController: the search texts of the picker's tabs.
inline constexpr QLatin1String kPcAddressSearchFieldKey{"pcAddressSearchField"};
inline constexpr QLatin1String kDeviceAddressSearchFieldKey{"deviceAddressSearchField"};
// AddressBookController: derived flags that enable the picker's buttons.
inline constexpr QLatin1String kCanAddPCAddressDataKey{"canAddPCAddressData"};
inline constexpr QLatin1String kCanShowPCAddressPropertyKey{"canShowPCAddressProperty"};
inline constexpr QLatin1String kCanAddDeviceAddressDataKey{"canAddDeviceAddressData"};
inline constexpr QLatin1String kCanShowDeviceAddressPropertyKey{"canShowDeviceAddressProperty"};
inline constexpr QLatin1String kCanRemoveDestinationAddressKey{"canRemoveDestinationAddress"};

// An entry of a picker's tab (a dictionary): an individual has kIdKey, kNameKey, kPhoneNumberKey
// and, from a PC book, kCompanyKey and kNoteKey; a group has kNameKey, kPhoneNumberKey equal to
// kGroupPhoneNumber, and kUserIDListKey (its members' identifiers).
inline constexpr QLatin1String kIdKey{"Id"};
inline constexpr QLatin1String kUserIDListKey{"userIDList"};
inline constexpr QLatin1String kGroupPhoneNumber{"Group"};

} // namespace tarvik_pde_m40vextel
