#pragma once

#include <QString>
#include <cups/ppd.h>
#include <optional>

// Helpers that the topic files of UtilityFunctions share; not part of its interface.
namespace tarvik_pde_m40vextel::utility_detail {

// Writes the line to standard error: the plain functions' diagnostics.
void printDiagnostic(const char* line);

// The value of the first attribute whose name begins with the given name, read as ASCII; none
// without such an attribute or value.
std::optional<QString> attributeValueAsASCII(const ppd_file_t* ppd, const char* name);

} // namespace tarvik_pde_m40vextel::utility_detail
