#pragma once
// A failure that the database reported with several diagnostic records (ODBC gives one per
// message). The connection puts every record into its error collection; the first one is
// the error raised.
#include <utility>
#include <vector>

#include "platform/adodb/error.h"

namespace adodb {

class ProviderError : public ComError {
  public:
    // `records` must not be empty.
    explicit ProviderError(std::vector<Error> records)
        : ComError(records.front()), records_(std::move(records)) {}
    const std::vector<Error>& Records() const noexcept { return records_; }

  private:
    std::vector<Error> records_;
};

}  // namespace adodb
