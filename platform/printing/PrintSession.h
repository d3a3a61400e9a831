#pragma once

#include <QString>
#include <cstdint>

namespace printing {

// Where the job goes. Only kDestinationPrinter sends it to the printer's queue.
enum PMDestinationType : std::uint16_t {
    kDestinationPrinter = 1,
    kDestinationFile = 2,
    kDestinationPreview = 3,
    kDestinationProcessPDF = 4,
};

// The job's print session: its destination (type and, for a file, the output path).
class PrintSession {
public:
    PrintSession() = default;

    std::uint16_t destinationType() const { return destinationType_; }
    // The output file for kDestinationFile (empty otherwise).
    QString destinationLocation() const { return destinationLocation_; }
    void setDestination(std::uint16_t type, const QString& location = QString());

    // Test seam: while set, PMSessionGetDestinationType fails with kPMDestinationUnknown.
    void setDestinationQueryFails(bool fails) { destinationQueryFails_ = fails; }
    bool destinationQueryFails() const { return destinationQueryFails_; }

private:
    std::uint16_t destinationType_ = kDestinationPrinter;
    QString destinationLocation_;
    bool destinationQueryFails_ = false;
};

} // namespace printing
