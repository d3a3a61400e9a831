#include "printing/PrintSession.h"

namespace printing {

void PrintSession::setDestination(std::uint16_t type, const QString& location) {
    destinationType_ = type;
    destinationLocation_ = location;
}

} // namespace printing
