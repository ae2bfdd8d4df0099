// Times the procedure-call listing in process, the fast path against the straightforward
// reference, on one project, and checks that both give the same rows.
//
//   pbst-bench-listings MAINFILE REPETITIONS
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "listings/all_procedure_calls.h"
#include "listings/result_list.h"
#include "listings/take_up.h"
#include "listings/testing/reference_listings.h"
#include "report/report_host.h"

namespace {

bool SameRows(const ResultList& a, const ResultList& b) {
  if (a.RowCount() != b.RowCount()) return false;
  for (int32_t row = 0; row < a.RowCount(); ++row) {
    for (int column = 0; column < ResultColumns; ++column) {
      const ResultRow& x = a.Row(row);
      const ResultRow& y = b.Row(row);
      if (x.Cells[column] != y.Cells[column] || x.Marks != y.Marks ||
          x.WrittenFor != y.WrittenFor) {
        return false;
      }
    }
  }
  return true;
}

/// Runs one listing into a fresh list; returns its time in milliseconds.
template <typename Listing>
double TimeListing(Listing listing, ResultList& list) {
  const double start = NowMs();
  listing(list);
  return NowMs() - start;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: pbst-bench-listings MAINFILE REPETITIONS\n";
    return 2;
  }
  const int repetitions = std::atoi(argv[2]);
  Project project;
  ReportHost host;
  ResultList procedures(ListKind::Procedures, "Procedures");
  TakeUpProject(project, argv[1], procedures, host);
  std::vector<double> reference_times;
  std::vector<double> fast_times;
  bool same = true;
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    ResultList reference(ListKind::AllProcedureCalls, "All Procedure-Calls...");
    ResultList fast(ListKind::AllProcedureCalls, "All Procedure-Calls...");
    std::string reference_declares;
    std::string fast_declares;
    reference_times.push_back(TimeListing([&](ResultList& list) {
      reference_declares = ReferenceListAllProcedureCalls(project, list, host).DeclareText;
    }, reference));
    fast_times.push_back(TimeListing([&](ResultList& list) {
      fast_declares = ListAllProcedureCalls(project, list, host).DeclareText;
    }, fast));
    same = same && SameRows(reference, fast) && reference_declares == fast_declares;
  }
  PrintTimes("reference-all-calls", reference_times);
  PrintTimes("fast-all-calls", fast_times);
  std::cout << "identical " << (same ? "yes" : "NO") << " rows " << procedures.RowCount()
            << std::endl;
  return same ? 0 : 1;
}
