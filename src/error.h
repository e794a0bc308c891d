#ifndef ZENTROVA_ERROR_H_
#define ZENTROVA_ERROR_H_

// The system's one exception base: every error a user sees is a zentrova::Error whose message
// is Spanish, in UTF-8, and names the file and the cause.

#include <exception>
#include <memory>
#include <string>
#include <string_view>

namespace zentrova {

// The one exception base of the system. what() is a Spanish message for the user, in UTF-8,
// that names the file and the cause. Each layer derives its own kind.
class Error : public std::exception {
 public:
  explicit Error(std::string message)
      : message_(std::make_shared<std::string>(std::move(message))) {}
  const char* what() const noexcept override { return message_->c_str(); }

  // Adds a sentence after the message (for instance, what the run left as it was), ending
  // the message with a full stop first when it has none.
  void AddSentence(std::string_view sentence) {
    if (!message_->empty() && message_->back() != '.') *message_ += '.';
    *message_ += ' ';
    *message_ += sentence;
  }

 private:
  std::shared_ptr<std::string> message_;  // shared, so that copying an error cannot fail
};

}  // namespace zentrova

#endif  // ZENTROVA_ERROR_H_
