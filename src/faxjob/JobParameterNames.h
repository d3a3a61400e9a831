#pragma once

namespace tarvik_pde_m40vextel {

// The fax job's parameters: entries in the job's print settings that the printer's driver reads,
// each under the prefix and a parameter's name. The names are the driver's and keep its spelling.
// Plain C++, so that the driver, which runs inside the scheduler without Qt, reads the same names
// the dialog writes.
inline constexpr char kJobParameterPrefix[] = "tarvik.print.printsettings.";

// One parameter's name, without the prefix. A type of its own, so that a key can only be made
// from a name listed here: a misspelt name does not compile.
struct JobParameter {
    const char* name;
};

// The cover page's sender name, saved by the fax panel.
inline constexpr JobParameter kVTelCoverSenderName{"VTelCoverSenderName"};
// The scrambled password; empty for none.
inline constexpr JobParameter kVTelPassword{"VTelPassword"};
// "1" for a delayed send, else "0"; the time as HH:mm.
inline constexpr JobParameter kVTelDelayedPrint{"VTelDelayedPrint"};
inline constexpr JobParameter kVTelDelayedTime{"VTelDelayedTime"};
// The number of recipients, then each recipient's name and fax number numbered from 1.
inline constexpr JobParameter kVTelDestinationNumber{"VTelDestinationNumber"};
inline constexpr JobParameter kVTelDestinationName{"VTelDestinationName"};
inline constexpr JobParameter kVTelDestinationPhoneNumber{"VTelDestinationPhoneNumber"};

} // namespace tarvik_pde_m40vextel
