// The MD5 test suite of RFC 1321, appendix A.5, shared by the tests of both
// MD5 interfaces.
#ifndef ORBE_TESTS_SUPPORT_MD5_VECTORS_H_
#define ORBE_TESTS_SUPPORT_MD5_VECTORS_H_

namespace orbe::testing {

struct Md5Case {
  const char* input;
  const char* digest;
};

constexpr Md5Case kRfc1321Suite[] = {
    {"", "D41D8CD98F00B204E9800998ECF8427E"},
    {"a", "0CC175B9C0F1B6A831C399E269772661"},
    {"abc", "900150983CD24FB0D6963F7D28E17F72"},
    {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
    {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57EDF4A22BE3C955AC49DA2E2107B67A"},
};

}  // namespace orbe::testing

#endif  // ORBE_TESTS_SUPPORT_MD5_VECTORS_H_
