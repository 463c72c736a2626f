// On Windows, permissions are access-control lists, not the mode bits the tests set with
// std::filesystem::permissions (which there only toggles a file's read-only attribute, and a
// folder's not at all): the tests that need them enforced are skipped.

#include "tests/support/TPermissionsEnforced.h"

namespace testsupport {

TPermissionsEnforced::TPermissionsEnforced() = default;

TPermissionsEnforced::~TPermissionsEnforced() = default;

} // namespace testsupport
