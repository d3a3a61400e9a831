#include "SampleOwner.h"

#include "SampleController.h"

namespace kit_sample {

SampleController* SampleOwner::controller() const {
    return qobject_cast<SampleController*>(controller_);
}

void SampleOwner::uiValueDidChange(QObject* sender) {
    Q_UNUSED(sender);
    ++optionChanges_;
}

} // namespace kit_sample
