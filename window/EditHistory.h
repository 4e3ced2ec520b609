// The edits made since the start, for undo and redo: each the cell, its value before and after,
// and whether it was made in the components view, which an undo brings back.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

struct UndoableEdit {
  int Observation = 0;
  int Variable = 0;
  double Before = 0.0;
  double After = 0.0;
  bool FromComponents = false;
};

class EditHistory {
 public:
  // A new edit: what could have been redone is gone.
  void Record(const UndoableEdit& edit);
  // The edit to take back (the latest one done), or none.
  std::optional<UndoableEdit> Undo();
  // The edit to make again (the latest one undone), or none.
  std::optional<UndoableEdit> Redo();

 private:
  std::vector<UndoableEdit> edits_;
  std::size_t done_ = 0;  // edits_[0, done_) are in the table
};
