// Request objects as the module reuses them: whatever a request held, a reset
// one and one made again after a release carry no byte of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "engine_fixture.h"
#include "protocol/request_objects.h"

namespace {

bool AllZero(const unsigned char* bytes, std::size_t size) {
  return std::all_of(bytes, bytes + size, [](unsigned char b) { return b == 0; });
}

struct Filling {
  const char* name;
  std::size_t body_length;
  std::uint32_t declared_total;  // 0: as FillRequest declares it
};

TEST(EngineRequest, ResetAndReuseLeaveNothingOfTheLastRequest) {
  const orbe_test::EngineLibrary library;
  const orbe_test::PrivateEngine engine(library);
  ASSERT_NE(engine.engine, nullptr);
  const Filling fillings[] = {
      {"a short body", 40, 0},
      {"the largest select", 8576, 0},
      {"a length past the capacity", 100, 0xFFFFFFF0u},
  };
  for (const Filling& filling : fillings) {
    ICwRequest* request = engine->CreateRequest();
    ASSERT_NE(request, nullptr);
    const std::size_t capacity = request->GetCapacity();
    ASSERT_TRUE(AllZero(request->GetBody(), capacity)) << filling.name;
    const std::string body(filling.body_length, '\xAB');
    ASSERT_TRUE(orbe::wire::FillRequest(*request, body)) << filling.name;
    if (filling.declared_total != 0) {
      std::memcpy(request->GetHeader() + 6, &filling.declared_total, sizeof filling.declared_total);
    }
    request->Reset();
    EXPECT_TRUE(AllZero(request->GetHeader(), orbe::wire::kRequestHeaderSize)) << filling.name;
    EXPECT_TRUE(AllZero(request->GetBody(), capacity)) << filling.name;
    // Filled again and released: the next request made is as clean as a new one.
    ASSERT_TRUE(orbe::wire::FillRequest(*request, body));
    engine->ReleaseRequest(request);
    ICwRequest* again = engine->CreateRequest();
    EXPECT_TRUE(AllZero(again->GetHeader(), orbe::wire::kRequestHeaderSize)) << filling.name;
    EXPECT_TRUE(AllZero(again->GetBody(), again->GetCapacity())) << filling.name;
    engine->ReleaseRequest(again);
  }
}

}  // namespace
