#include "platform/winsim/system/area_state.h"
#include "platform/winsim/system/system_control.h"

namespace winsim {
namespace {

using RequestLog = std::vector<Request>;

}  // namespace

std::ostream& operator<<(std::ostream& out, const Request& request) {
    out << request.call << '(';
    const char* separator = "";
    for (const auto& arg : request.args) {
        out << separator << '"' << arg << '"';
        separator = ", ";
    }
    return out << ')';
}

const std::vector<Request>& Requests() { return detail::AreaState<RequestLog>(); }

namespace detail {
void RecordRequest(Request request) { AreaState<RequestLog>().push_back(std::move(request)); }
}  // namespace detail

}  // namespace winsim
