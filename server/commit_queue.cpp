// SPDX-License-Identifier: MIT
// A writer thread that stores queued suggestions, many to one commit, and reports each outcome.
#include "server/commit_queue.h"

#include <chrono>
#include <cstdio>

namespace qup::server {

namespace {

// How often an idle queue prunes by age.
constexpr auto kIdlePruneInterval = std::chrono::minutes(10);

}  // namespace

CommitQueue::CommitQueue(SuggestionStore& store, Retention retention)
    : store_(store), retention_(retention), writer_([this] { Run(); }) {}

CommitQueue::~CommitQueue() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  writer_.join();
}

void CommitQueue::Submit(NewSuggestion suggestion, Done done) {
  {
    const std::lock_guard lock(mutex_);
    queue_.push_back({std::move(suggestion), std::move(done)});
  }
  wake_.notify_one();
}

void CommitQueue::Run() {
  std::vector<Pending> batch;
  std::vector<NewSuggestion> rows;
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      const bool woken =
          wake_.wait_for(lock, kIdlePruneInterval, [this] { return stopping_ || !queue_.empty(); });
      if (!woken) {
        lock.unlock();
        if (retention_.keep_for.count() > 0 && !store_.Prune(retention_)) {
          std::fprintf(stderr, "qup-suggestd: %s\n", store_.Error().c_str());
        }
        continue;
      }
      if (queue_.empty()) return;  // stopping, and nothing left to store
      batch.swap(queue_);
    }
    rows.clear();
    for (Pending& pending : batch) rows.push_back(std::move(pending.suggestion));
    const auto ids = store_.AddAll(rows, retention_);
    if (!ids) std::fprintf(stderr, "qup-suggestd: %s\n", store_.Error().c_str());
    for (std::size_t i = 0; i < batch.size(); ++i) {
      batch[i].done(ids ? std::optional<std::int64_t>((*ids)[i]) : std::nullopt);
    }
    batch.clear();
  }
}

}  // namespace qup::server
