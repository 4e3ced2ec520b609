#include "window/EditHistory.h"

void EditHistory::Record(const UndoableEdit& edit) {
  edits_.resize(done_);
  edits_.push_back(edit);
  done_ = edits_.size();
}

std::optional<UndoableEdit> EditHistory::Undo() {
  if (done_ == 0) return std::nullopt;
  return edits_[--done_];
}

std::optional<UndoableEdit> EditHistory::Redo() {
  if (done_ == edits_.size()) return std::nullopt;
  return edits_[done_++];
}
