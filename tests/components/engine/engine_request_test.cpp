// Request objects as the module reuses them: whatever a request held, a reset
// one and one made again after a release carry no byte of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "engine_fixture.h"
#include "protocol/request_objects.h"

namespace {

bool Clean(ICwRequest& request) {
  const auto zero = [](unsigned char b) { return b == 0; };
  return std::all_of(request.GetHeader(), request.GetHeader() + orbe::wire::kRequestHeaderSize, zero) &&
         std::all_of(request.GetBody(), request.GetBody() + request.GetCapacity(), zero);
}

TEST(EngineRequest, ResetAndReuseLeaveNothingOfTheLastRequest) {
  const orbe_test::EngineLibrary library;
  const orbe_test::PrivateEngine engine(library);
  ASSERT_NE(engine.engine, nullptr);
  // A short body, the largest SELECT, and a declared length past the capacity.
  const std::pair<std::size_t, std::uint32_t> fillings[] = {{40, 0}, {8576, 0}, {100, 0xFFFFFFF0u}};
  for (const auto& [length, declared] : fillings) {
    ICwRequest* request = engine->CreateRequest();
    ASSERT_TRUE(request != nullptr && Clean(*request)) << length;
    const std::string body(length, '\xAB');
    ASSERT_TRUE(orbe::wire::FillRequest(*request, body));
    if (declared != 0) std::memcpy(request->GetHeader() + 6, &declared, sizeof declared);
    request->Reset();
    EXPECT_TRUE(Clean(*request)) << length;
    ASSERT_TRUE(orbe::wire::FillRequest(*request, body));
    engine->ReleaseRequest(request);
    ICwRequest* again = engine->CreateRequest();
    EXPECT_TRUE(Clean(*again)) << length;
    engine->ReleaseRequest(again);
  }
}

}  // namespace
