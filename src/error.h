#ifndef ZENTROVA_ERROR_H_
#define ZENTROVA_ERROR_H_

#include <stdexcept>
#include <string>

namespace zentrova {

// The one exception base of the system. what() is a Spanish message for the user, in UTF-8,
// that names the file and the cause. Each layer derives its own kind.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A run stopped at a condition it expects (a file missing, an invalid choice): the front end
// shows the message like any error, but reports it as an orderly stop, not a failure.
class RunStopped : public Error {
 public:
  using Error::Error;
};

}  // namespace zentrova

#endif  // ZENTROVA_ERROR_H_
