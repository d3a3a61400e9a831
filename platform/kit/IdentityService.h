#pragma once

#include "kit/ScopedOverride.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace kit {

// The identity service: queries of group identities by name and of a group's members, answered
// by default from the system's user and group database (kit::UserDatabase, over NSS).
// Replaceable in tests by a subclass installed with an Override.
class IdentityService {
public:
    enum class Status {
        Ok,
        QueryCreateFailed,  // the query could not be made
        QueryExecuteFailed, // the query ran and failed
        NoResults,          // the query gave no result list at all
    };
    struct Identity {
        QString name;
        uint32_t id = 0;
    };

    virtual ~IdentityService();

    // The groups whose name equals the given one.
    virtual Status findGroups(const QString& name, QList<Identity>* groups) const;
    // The login names of the group's members: the users the group entry lists, then the users
    // whose primary group it is, each once.
    virtual Status groupMembers(const Identity& group, QStringList* memberNames) const;

    static const IdentityService& current();

    class Override : public ScopedOverride<IdentityService> {
    public:
        explicit Override(const IdentityService& replacement);
    };
};

} // namespace kit
