// The engine's decisions that need no network: which notifications go out, which address a
// connection takes, the request texts, and what an answer is good for.
#include <gtest/gtest.h>

#include "update/download_url.h"
#include "update/notification_gate.h"
#include "update/request_text.h"
#include "update/response_rules.h"

namespace {

using namespace update;

TEST(NotificationGate, CodesOnlyMoveForwardAndTransferBegunGoesOutOnce) {
    NotificationGate gate;
    std::vector<int> delivered;
    for (int code : {1, 2, 3, 4, 5, 6, 5, 6, 2, 6, 4, 7, 6, 8})
        if (gate.Passes(code)) delivered.push_back(code);
    EXPECT_EQ(delivered, (std::vector<int>{1, 2, 3, 4, 5, 6, 6, 6, 7, 8}));

    // A fresh gate delivers 5 once even when it comes first, then drops it.
    NotificationGate jump;
    EXPECT_TRUE(jump.Passes(kTransferBegun));
    EXPECT_FALSE(jump.Passes(kTransferBegun));
    EXPECT_TRUE(jump.Passes(kProgress));
}

TEST(NotificationGate, NothingGoesOutWhileDisabledAndResetStartsOver) {
    NotificationGate gate;
    gate.enabled = false;
    EXPECT_FALSE(gate.Passes(kStarted));
    EXPECT_FALSE(gate.Passes(kProgress));
    EXPECT_EQ(gate.state, kStarted);
    gate.enabled = true;
    EXPECT_TRUE(gate.Passes(kTransferBegun));
    EXPECT_TRUE(gate.Passes(kCancelled));
    gate.Reset();
    EXPECT_TRUE(gate.Passes(kStarted));
    EXPECT_TRUE(gate.Passes(kTransferBegun));
}

DownloadUrl Mirror(int32_t ms, bool failed = false) {
    DownloadUrl url;
    url.firstResponseMs = ms;
    url.failed = failed;
    return url;
}

TEST(MirrorChoice, TheMainAddressUnlessMirrorsAreGiven) {
    DownloadUrl main;
    std::vector<DownloadUrl> none;
    EXPECT_EQ(ChooseAddress(main, none), kMainAddress);
    main.failed = true;
    EXPECT_EQ(ChooseAddress(main, none), kNoAddress);
    std::vector<DownloadUrl> one = {Mirror(0)};
    EXPECT_EQ(ChooseAddress(main, one), 0) << "mirrors are used even when the main address failed";
}

TEST(MirrorChoice, EveryMirrorIsTriedOnceThenTheFastestWins) {
    DownloadUrl main;
    std::vector<DownloadUrl> mirrors = {Mirror(0), Mirror(0, true), Mirror(0)};
    EXPECT_EQ(ChooseAddress(main, mirrors), 0);
    EXPECT_EQ(mirrors[0].firstResponseMs, -1);
    EXPECT_EQ(ChooseAddress(main, mirrors), 2) << "the failed one is passed over";
    // Both are being measured: no address yet.
    EXPECT_EQ(ChooseAddress(main, mirrors), kNoAddress);
    RecordFirstResponse(mirrors[2], 40);
    EXPECT_EQ(ChooseAddress(main, mirrors), 2);
    RecordFirstResponse(mirrors[0], 15);
    EXPECT_EQ(ChooseAddress(main, mirrors), 0);
    mirrors[0].failed = true;
    EXPECT_EQ(ChooseAddress(main, mirrors), 2);
}

TEST(MirrorChoice, OnlyAMeasurementInProgressIsRecordedAndNeverAsZero) {
    DownloadUrl url;
    RecordFirstResponse(url, 25);
    EXPECT_EQ(url.firstResponseMs, 0) << "never tried: nothing to record";
    url.firstResponseMs = -1;
    RecordFirstResponse(url, 0);
    EXPECT_EQ(url.firstResponseMs, 1) << "a same-millisecond answer must not read as never tried";
    RecordFirstResponse(url, 500);
    EXPECT_EQ(url.firstResponseMs, 1) << "the first measurement stays";
}

TEST(RequestText, HeadersInTheirOrder) {
    EXPECT_EQ(RequestHeaders(-1, false), L"Pragma: no-cache\r\nCache-Control: no-cache\r\nConnection: close\r\n");
    EXPECT_EQ(RequestHeaders(5000000000, true),
              L"Range: bytes=5000000000-\r\nPragma: no-cache\r\nCache-Control: no-cache\r\nConnection: close\r\n"
              L"Accept-Encoding: gzip, deflate\r\n");
    EXPECT_EQ(RequestHeaders(0, false).substr(0, 18), L"Range: bytes=0-\r\nP");
}

TEST(RequestText, TheUserAgentEndsInTheProductWhereTheBrowsersAllowsIt) {
    EXPECT_EQ(ComposeUserAgent(L"Mozilla/4.0 (compatible; MSIE 8.0; Win32)"),
              L"Mozilla/4.0 (compatible; MSIE 8.0; Win32; MivoraBox)");
    EXPECT_EQ(ComposeUserAgent(L"Mozilla/5.0 (x; mivorabox 2)"), L"Mozilla/5.0 (x; mivorabox 2)");
    EXPECT_EQ(ComposeUserAgent(L"Mozilla/5.0 (Windows) Gecko"), L"") << "no closing parenthesis at the end";
    EXPECT_EQ(ComposeUserAgent(L""), L"");
    EXPECT_EQ(ComposeUserAgent(L")"), L"; MivoraBox)");
}

TEST(RequestText, TheMetalinkFileIndexIsCutOffTheAddress) {
    MetalinkAddress split = SplitMetalinkSuffix(L"http://h/f.metalink#MetalinkFile12");
    EXPECT_EQ(split.address, L"http://h/f.metalink");
    EXPECT_EQ(split.fileIndex, 12);
    split = SplitMetalinkSuffix(L"http://h/f.metalink#MetalinkFile");
    EXPECT_EQ(split.address, L"http://h/f.metalink");
    EXPECT_EQ(split.fileIndex, 0);
    split = SplitMetalinkSuffix(L"http://h/f#MetalinkFile3x#MetalinkFile4");
    EXPECT_EQ(split.address, L"http://h/f");
    EXPECT_EQ(split.fileIndex, 3);
    split = SplitMetalinkSuffix(L"http://h/f#MetalinkFile99999999999999");
    EXPECT_GE(split.fileIndex, 0) << "a number too long for an int does not wrap";
    split = SplitMetalinkSuffix(L"http://h/f#MetalinkFile2\uFF19\uFF19\uFF19\uFF19\uFF19\uFF19\uFF19\uFF19\uFF19\uFF19");
    EXPECT_EQ(split.fileIndex, 2) << "full-width digits are no part of the number";
    split = SplitMetalinkSuffix(L"ftp://h/file#frag");
    EXPECT_EQ(split.address, L"ftp://h/file#frag");
    EXPECT_EQ(split.fileIndex, 0);
}

AnswerFacts Answer(int status, int64_t length, bool http11 = true, bool ranges = true) {
    AnswerFacts answer;
    answer.status = status;
    answer.contentLength = length;
    answer.http11 = http11;
    answer.acceptRanges = ranges;
    return answer;
}

TEST(ResponseRules, RangesNeedAKnownSizeHttp11AcceptRangesAndNoEncoding) {
    EXPECT_TRUE(RangesSupported(1000, Answer(200, 1000)));
    EXPECT_FALSE(RangesSupported(-1, Answer(200, -1)));
    EXPECT_FALSE(RangesSupported(1000, Answer(200, 1000, false))) << "HTTP/1.0";
    EXPECT_FALSE(RangesSupported(1000, Answer(200, 1000, true, false))) << "no Accept-Ranges";
    AnswerFacts gzipped = Answer(200, 400);
    gzipped.encoded = true;
    EXPECT_FALSE(RangesSupported(400, gzipped));
    EXPECT_EQ(AnsweredSize(gzipped), -1) << "an encoded length is not the file's";
}

TEST(ResponseRules, AFirstAnswerIsUsedWhenItsLengthIsTheDownloads) {
    EXPECT_TRUE(FirstAnswerAccepted(Answer(200, 1000), 1000, false, true));
    EXPECT_TRUE(FirstAnswerAccepted(Answer(200, -1), -1, false, false));
    EXPECT_FALSE(FirstAnswerAccepted(Answer(200, 999), 1000, false, true)) << "the file changed";
    EXPECT_FALSE(FirstAnswerAccepted(Answer(200, 1000), 1000, true, false)) << "a mirror without ranges";
    EXPECT_TRUE(FirstAnswerAccepted(Answer(200, 1000), 1000, true, true));
}

TEST(ResponseRules, OnlyA206ForExactlyTheBytesAskedForIsRead) {
    EXPECT_EQ(JudgeRangedAnswer(Answer(206, 600), 400, 1000), RangedVerdict::kRead);
    AnswerFacts ranged = Answer(206, 600);
    ranged.contentRange = L"bytes 400-999/1000";
    EXPECT_EQ(JudgeRangedAnswer(ranged, 400, 1000), RangedVerdict::kRead);
    ranged.contentRange = L"bytes 400-999/*";
    EXPECT_EQ(JudgeRangedAnswer(ranged, 400, 1000), RangedVerdict::kRead);
    ranged.contentRange = L"bytes 0-599/1000";  // right length, wrong bytes
    EXPECT_EQ(JudgeRangedAnswer(ranged, 400, 1000), RangedVerdict::kClose);
    ranged.contentRange = L"bytes 400-999/2000";
    EXPECT_EQ(JudgeRangedAnswer(ranged, 400, 1000), RangedVerdict::kClose);
    // A server that ignores Range answers 200 with the whole file: never written at the offset.
    EXPECT_EQ(JudgeRangedAnswer(Answer(200, 1000), 400, 1000), RangedVerdict::kClose);
    EXPECT_EQ(JudgeRangedAnswer(Answer(206, 500), 400, 1000), RangedVerdict::kClose);
    EXPECT_EQ(JudgeRangedAnswer(Answer(206, -1), 400, 1000), RangedVerdict::kClose);
    EXPECT_EQ(JudgeRangedAnswer(Answer(500, 10), 400, 1000), RangedVerdict::kRetryLater);
    EXPECT_EQ(JudgeRangedAnswer(Answer(404, 10), 400, 1000), RangedVerdict::kAddressFailed);
    EXPECT_EQ(JudgeRangedAnswer(Answer(416, 0), 400, 1000), RangedVerdict::kClose);
}

TEST(ResponseRules, ContentRangeText) {
    ContentRange range;
    ASSERT_TRUE(ParseContentRange(L"bytes 0-0/1", range));
    EXPECT_EQ(range.first, 0);
    EXPECT_EQ(range.last, 0);
    EXPECT_EQ(range.length, 1);
    ASSERT_TRUE(ParseContentRange(L"  BYTES  5000000000-5000000009/*  ", range));
    EXPECT_EQ(range.first, 5000000000);
    EXPECT_EQ(range.length, -1);
    for (const wchar_t* bad : {L"", L"bytes", L"bytes 5-4/10", L"bytes -4/10", L"bytes 1-2", L"items 1-2/3",
                               L"bytes 1-2/3x", L"bytes 99999999999999999999-1/2", L"bytes 1-2/-3"})
        EXPECT_FALSE(ParseContentRange(bad, range)) << bad;
}

TEST(ResponseRules, ReadsStopAtWhatIsStillMissing) {
    DownloadSegment segment{1, 1, 1000, 1999, 990};
    EXPECT_EQ(ReadSize(&segment, 5000, 0), 10u);
    segment.received = 0;
    EXPECT_EQ(ReadSize(&segment, 5000, 0), 1000u);
    DownloadSegment large{1, 1, 0, 10000000, 0};
    EXPECT_EQ(ReadSize(&large, -1, 0), kReadBufferSize);
    EXPECT_EQ(ReadSize(nullptr, 100000, 99000), 1000u);
    EXPECT_EQ(ReadSize(nullptr, 100000, 100000), 0u);
    EXPECT_EQ(ReadSize(nullptr, -1, 123456789), kReadBufferSize);
}

}  // namespace
