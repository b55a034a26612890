// Marks where the parts of a step begin and end, so that a benchmark times
// the real steps part by part; the program itself runs without one.
#pragma once

#include <string_view>

namespace pravel {

class Probe {
 public:
  virtual ~Probe() = default;
  virtual void PartBegins(std::string_view part) = 0;
  virtual void PartEnds(std::string_view part) = 0;
};

// One part, from here to the end of the scope.
class ProbedPart {
 public:
  ProbedPart(Probe* probe, std::string_view part) : probe_(probe), part_(part) {
    if (probe_) probe_->PartBegins(part_);
  }
  ~ProbedPart() {
    if (probe_) probe_->PartEnds(part_);
  }
  ProbedPart(const ProbedPart&) = delete;
  ProbedPart& operator=(const ProbedPart&) = delete;

 private:
  Probe* probe_;
  std::string_view part_;
};

}  // namespace pravel
