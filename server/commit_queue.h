// SPDX-License-Identifier: MIT
// A writer thread that stores queued suggestions, many to one commit, and reports each outcome.
#ifndef QUP_SERVER_COMMIT_QUEUE_H
#define QUP_SERVER_COMMIT_QUEUE_H

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "server/suggestion_store.h"

namespace qup::server {

// Every commit waits for the disk; suggestions that arrive meanwhile go into the next one
// together, so many clients at once cost few syncs and nobody waits for a client's socket.
class CommitQueue {
 public:
  // Called on the writer thread: the stored suggestion's id, or nothing when storing failed.
  using Done = std::function<void(std::optional<std::int64_t> id)>;

  // Each commit also prunes what retention no longer keeps; with a time limit, an idle queue
  // prunes now and then too, so that old suggestions go even when no new ones come.
  explicit CommitQueue(SuggestionStore& store, Retention retention = {});
  CommitQueue(const CommitQueue&) = delete;
  CommitQueue& operator=(const CommitQueue&) = delete;
  // Stores what is queued, reports it, then ends the thread.
  ~CommitQueue();

  void Submit(NewSuggestion suggestion, Done done);

 private:
  struct Pending {
    NewSuggestion suggestion;
    Done done;
  };

  void Run();

  SuggestionStore& store_;
  Retention retention_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<Pending> queue_;
  bool stopping_ = false;
  std::thread writer_;
};

}  // namespace qup::server

#endif  // QUP_SERVER_COMMIT_QUEUE_H
