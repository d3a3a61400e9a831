#pragma once

namespace kit {

// A replacement of one of the kit's process-wide services (the resolver, the user database, the
// identity service) for the life of a scope, the seam through which tests put in a fake.
// Overrides nest: the innermost one answers, and the one it covered answers again when it goes.
// The service keeps the innermost override in a pointer of its own and hands it to each one it
// makes. The replacement is borrowed and must outlive the override.
template <class Service> class ScopedOverride {
public:
    ScopedOverride(const Service& replacement, ScopedOverride*& innermost)
        : innermost_(innermost), outer_(innermost), replacement_(replacement) {
        innermost_ = this;
    }
    ~ScopedOverride() { innermost_ = outer_; }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

    // The innermost override's replacement; the fallback when there is none.
    static const Service& serviceOr(const ScopedOverride* innermost, const Service& fallback) {
        return innermost != nullptr ? innermost->replacement_ : fallback;
    }

private:
    ScopedOverride*& innermost_;
    ScopedOverride* outer_;
    const Service& replacement_;
};

} // namespace kit
