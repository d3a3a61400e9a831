#pragma once

#include "faxjob/JobParameterNames.h"

#include <QLatin1String>
#include <QString>

namespace tarvik_pde_m40vextel {

// The print-settings key of a parameter.
inline QString jobParameterKey(JobParameter parameter) {
    return QLatin1String(kJobParameterPrefix) + QLatin1String(parameter.name);
}

// The print-settings key of a numbered parameter (a recipient's, from 1).
inline QString jobParameterKey(JobParameter parameter, int number) {
    return jobParameterKey(parameter) + QString::number(number);
}

} // namespace tarvik_pde_m40vextel
