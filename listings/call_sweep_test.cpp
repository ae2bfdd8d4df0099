#include "listings/call_sweep.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listings/testing/listing_test_support.h"

// The window stays answerable through both steps: the pass polls once per line and
// gives up at a stop, handing the calls out polls once per call and stops within them.
TEST(CallSweep, ThePassPollsPerLineAndHandingOutPerCallBothAnsweringAStop) {
  TestFolder folder;
  folder.Write("main.pb",
               "Procedure Foo(x)\n"
               "EndProcedure\n"
               "Foo(1)\n"
               "a = Foo(2) + foo(3)\n"
               "Foo (4) ; once\n");
  RecordingHost host;
  ProjectText text;
  ASSERT_EQ(text.Load({{folder.Path() + "main.pb", "", 0}}, SourceTexts(), host),
            ListingEnd::Finished);
  const ProcedureIndex procedures{{"Procedure Foo(x)", "main.pb", 1}};
  const ProcedureCallSearch search(text, procedures);
  CallSweep sweep(search, text, EntryKeys(procedures));
  RecordingHost stopping;
  stopping.StopAtPoll = 4;  // after the first call
  EXPECT_FALSE(sweep.Sweep(stopping));
  RecordingHost counting;
  ASSERT_TRUE(sweep.Sweep(counting));
  EXPECT_EQ(counting.Polls, static_cast<int64_t>(text.LineCount()));
  std::vector<std::string> hits;
  const auto note = [&](const CallHit& hit) {
    hits.push_back(std::to_string(hit.LineNumber) + " " + std::string(hit.Prepared));
  };
  RecordingHost handing;
  EXPECT_FALSE(sweep.Calls(0, handing, note));
  EXPECT_EQ(hits, (std::vector<std::string>{"3 Foo(1)", "4 a = Foo(2) + foo(3)", "5 Foo(4) "}));
  EXPECT_EQ(handing.Polls, 3);
  hits.clear();
  handing.StopAtPoll = handing.Polls + 2;
  EXPECT_TRUE(sweep.Calls(0, handing, note));
  EXPECT_EQ(hits.size(), 2u);
}

// Where the prepared line stands in a line is kept in 16 bits: a line longer than 64 KB,
// whether by its leading tabs or by its code, gives its row the prepared line and label
// that the search per key gives, as do the short lines around it.
TEST(CallSweep, CallsOnLinesLongerThan64KBAreHandedOutAsTheSearchFindsThem) {
  TestFolder folder;
  const std::string code(66000, 'x');
  folder.Write("main.pb", "Procedure Foo(x)\n"
                          "Foo(1) ; short\n" +
                              std::string(66000, '\t') + "Foo(2) ; after tabs\n"
                              "s$ = \"" + code + "\" + Foo(3) ; after code\n"
                              "EndProcedure\n"
                              "a = Foo(4)\n");
  RecordingHost host;
  ProjectText text;
  ASSERT_EQ(text.Load({{folder.Path() + "main.pb", "", 0}}, SourceTexts(), host),
            ListingEnd::Finished);
  const ProcedureIndex procedures{{"Procedure Foo(x)", "main.pb", 1}};
  ProcedureCallSearch search(text, procedures);
  ASSERT_TRUE(search.Index(host));
  CallSweep sweep(search, text, EntryKeys(procedures));
  ASSERT_TRUE(sweep.Sweep(host));
  const auto hits_of = [](std::vector<std::string>& hits) {
    return [&hits](const CallHit& hit) {
      hits.push_back(std::to_string(hit.LineNumber) + " " + std::string(hit.Prepared) + " | " +
                     std::string(hit.Label) + " | " + std::to_string(hit.Head));
    };
  };
  std::vector<std::string> searched;
  std::vector<std::string> swept;
  search.FindCalls(EntryKeys(procedures)[0].Key, EntryKeys(procedures)[0].Target, host,
                   hits_of(searched));
  EXPECT_FALSE(sweep.Calls(0, host, hits_of(swept)));
  ASSERT_EQ(searched.size(), 4u);
  EXPECT_EQ(searched[2].substr(0, 7), "4 s$ = ");
  EXPECT_EQ(swept, searched);
}
