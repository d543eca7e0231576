// The login record as the login servers send it: one JSON object whose members carry the
// LoginResult fields by their names. "loginText" must be a non-empty string; every other member is
// optional, and a missing or null member leaves the field as it was. Unknown members are ignored.
#pragma once

#include <string>
#include <string_view>

#include "support/login_result.h"

// False, and `result` untouched, when the body is not such an object (not JSON, not an object, no
// loginText, a member of the wrong type, a number outside int32).
bool DecodeLoginResult(std::string_view body, LoginResult& result);

// Every field, as DecodeLoginResult reads it.
std::string EncodeLoginResult(const LoginResult& result);
