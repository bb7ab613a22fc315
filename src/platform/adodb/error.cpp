#include "platform/adodb/error.h"

#include <string>

#include "platform/adodb/layer_errors.h"

namespace adodb {

const Error& ErrorCollection::Item(int index) const {
    if (index < 0 || index >= Count()) RaiseItemNotFound("de índice " + std::to_string(index));
    return items_[static_cast<std::size_t>(index)];
}

}  // namespace adodb
