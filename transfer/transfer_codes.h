#pragma once
// Result codes of a transfer. 0 is success; Win32 and WinINet codes pass through unchanged; the
// transfer's own codes have the form 0xE00000nn. No system calls: this file also builds for the
// host, so the WinINet codes the decisions need are spelled here as numbers.

#include <cstdint>

namespace kestrune {

// The target path neither begins with two backslashes nor has a colon as its second character.
const uint32_t TRANSFER_E_BAD_TARGET = 0xE0000005;
// The observer reported cancel.
const uint32_t TRANSFER_E_CANCELED = 0xE0000008;
// The data ended before the announced size and reconnection is not allowed.
const uint32_t TRANSFER_E_INCOMPLETE = 0xE000000F;
// The source is not larger than the part file already present.
const uint32_t TRANSFER_E_ALREADY_COMPLETE = 0xE0000010;
// Credentials were demanded (HTTP 401 or 407, a refused FTP or share logon).
const uint32_t TRANSFER_E_CREDENTIALS_NEEDED = 0xE0000012;
// HTTP 304; never reported to the observer.
const uint32_t TRANSFER_E_NOT_MODIFIED = 0xE0000013;
// HTTP 403.
const uint32_t TRANSFER_E_FORBIDDEN = 0xE0000016;
// HTTP 404 or 410.
const uint32_t TRANSFER_E_NOT_FOUND = 0xE0000018;
// The source's size differs from the size the caller expects.
const uint32_t TRANSFER_E_SIZE_MISMATCH = 0xE0000023;

// System codes the transfer decides on (the values of the Win32 and WinINet headers).
namespace transfer_code {
const uint32_t kPathNotFound = 3;                 // ERROR_PATH_NOT_FOUND
const uint32_t kInvalidPassword = 86;             // ERROR_INVALID_PASSWORD
const uint32_t kRequestAborted = 1235;            // ERROR_REQUEST_ABORTED
const uint32_t kLogonFailure = 1326;              // ERROR_LOGON_FAILURE
const uint32_t kBadUserName = 2202;               // ERROR_BAD_USERNAME
const uint32_t kInternetTimeout = 12002;          // ERROR_INTERNET_TIMEOUT
const uint32_t kInternetExtendedError = 12003;    // ERROR_INTERNET_EXTENDED_ERROR
const uint32_t kUnrecognizedScheme = 12006;       // ERROR_INTERNET_UNRECOGNIZED_SCHEME
const uint32_t kNameNotResolved = 12007;          // ERROR_INTERNET_NAME_NOT_RESOLVED
const uint32_t kIncorrectUserName = 12013;        // ERROR_INTERNET_INCORRECT_USER_NAME
const uint32_t kIncorrectPassword = 12014;        // ERROR_INTERNET_INCORRECT_PASSWORD
const uint32_t kLoginFailure = 12015;             // ERROR_INTERNET_LOGIN_FAILURE
const uint32_t kItemNotFound = 12028;             // ERROR_INTERNET_ITEM_NOT_FOUND
const uint32_t kCannotConnect = 12029;            // ERROR_INTERNET_CANNOT_CONNECT
const uint32_t kConnectionAborted = 12030;        // ERROR_INTERNET_CONNECTION_ABORTED
const uint32_t kConnectionReset = 12031;          // ERROR_INTERNET_CONNECTION_RESET
const uint32_t kCertDateInvalid = 12037;          // ERROR_INTERNET_SEC_CERT_DATE_INVALID
const uint32_t kCertNameInvalid = 12038;          // ERROR_INTERNET_SEC_CERT_CN_INVALID
const uint32_t kClientCertNeeded = 12044;         // ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED
const uint32_t kInvalidCertAuthority = 12045;     // ERROR_INTERNET_INVALID_CA
const uint32_t kFtpDropped = 12111;               // ERROR_FTP_DROPPED
const uint32_t kDisconnected = 12163;             // ERROR_INTERNET_DISCONNECTED
}  // namespace transfer_code

}  // namespace kestrune
