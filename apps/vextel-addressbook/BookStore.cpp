#include "BookStore.h"

namespace vextel_addressbook {

BookStore::~BookStore() = default;

} // namespace vextel_addressbook
