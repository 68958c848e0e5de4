// What reading a message's extra information costs: a record as the server
// writes it, and a peer's record buried two thousand brackets deep, which
// must be turned away about as fast as the ordinary one is read.
#include <benchmark/benchmark.h>

#include <string>

#include "msghandle/MsgExtraInfo.h"

namespace {

const std::string kFlat =
    R"({"convid":"c1","cmsgid":1234567,"fsid":"f","imsgid":89,"contentat":"u1,u2","msgtimer":"30",)"
    R"("unreadnum":4,"receiptto":"all","data_biz":"{}"})";

const std::string& Nested() {
    static const std::string text = R"({"convid":"c1","a":)" + std::string(2000, '[') + std::string(2000, ']') + "}";
    return text;
}

void BM_ExtraInfoFlat(benchmark::State& state) {
    for (auto _ : state) {
        tavi::SMsgExtraInfo info;
        benchmark::DoNotOptimize(tavi::ParseMsgExtraInfo(kFlat, info));
    }
}
BENCHMARK(BM_ExtraInfoFlat)->Unit(benchmark::kMicrosecond);

void BM_ExtraInfoNested(benchmark::State& state) {
    for (auto _ : state) {
        tavi::SMsgExtraInfo info;
        benchmark::DoNotOptimize(tavi::ParseMsgExtraInfo(Nested(), info));
    }
}
BENCHMARK(BM_ExtraInfoNested)->Unit(benchmark::kMicrosecond);

}  // namespace
