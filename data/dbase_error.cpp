#include "data/dbase_error.h"

#include <cstdio>

#include "errors/run_error.h"

namespace morven {

DbErrorState DbError;

int32_t DbMessageNumber(int32_t code) {
  switch (code) {
    case 0: return 0;
    case 2:
    case 3:
    case 800: return 601;
    case 100:
    case 501: return 608;
    case 601: return 611;
    case 602: return 612;
    case 603: return 613;
    case 604: return 614;
    case 605: return 615;
    case 801: return 602;
    case 802: return 603;
    case 803: return 604;
    case 901: return 605;
    case 902: return 606;
    default: return 600;
  }
}

ShortString DbDetail(int32_t code, std::string_view text) {
  ShortString detail;
  if (DbMessageNumber(code) == 600) {
    char number[16];
    std::snprintf(number, sizeof number, "%d ", static_cast<int>(code));
    detail.Assign(number);
  }
  if (text.empty()) {
    detail.Append('!');
  } else {
    detail.Append(": ");
    detail.Append(text);
  }
  return detail;
}

void ClearDbError() { DbError = DbErrorState{}; }

void SetDbError(int32_t code, std::string_view text) {
  if (code == 0) {
    ClearDbError();
    return;
  }
  DbError.number = DbMessageNumber(code);
  DbError.code = code;
  DbError.detail = DbDetail(code, text);
}

void SetDbIoError(int32_t code, std::string_view file_name, std::string_view operation) {
  if (code == 0 || DbErrorSet()) return;
  ShortString text(file_name.substr(0, 64));
  text.Append(" (");
  text.Append(operation);
  text.Append(")");
  SetDbError(code, text.View());
}

void WarnDbError() {
  if (!DbErrorSet()) return;
  const DbErrorState error = DbError;
  RunWarning(error.number, error.detail.View());
}

}  // namespace morven
