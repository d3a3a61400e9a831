#include "UtilityFunctions.h"
#include "kit/UserDatabase.h"

#include <unistd.h>

namespace tarvik_pde_m40vextel {

bool IsUserAdmin() {
    const std::optional<kit::UserDatabase::User> user =
        kit::UserDatabase::current().userWithId(getuid());
    if (!user) {
        return false;
    }
    return CheckUserGroups(user->name.left(1023).constData(), "admin");
}

bool CheckUserGroups(const char* userName, const char* groupName) {
    if (userName == nullptr || groupName == nullptr) {
        return false;
    }
    const kit::UserDatabase& database = kit::UserDatabase::current();
    const std::optional<kit::UserDatabase::User> user = database.userNamed(userName);
    if (!user) {
        return false;
    }
    bool isMember = false;
    database.walkGroups([&](const kit::UserDatabase::Group& group) {
        if (group.name != groupName) {
            return true;
        }
        if (group.gid == user->gid) {
            isMember = true;
            return false;
        }
        if (group.members.contains(user->name)) {
            isMember = true;
        }
        return true;
    });
    return isMember;
}

} // namespace tarvik_pde_m40vextel
