#pragma once
// Every modal message of the program goes through this seam: the windows install
// message boxes, the command-line tool writes to stderr, tests script the answers.

#include <string>

class MessageSeam {
 public:
  virtual ~MessageSeam() = default;
  virtual void Error(const std::string& text) = 0;    // caption "Error", OK
  virtual void Info(const std::string& text) = 0;     // caption "Information", OK
  virtual bool Confirm(const std::string& text) = 0;  // caption "Confirm", Yes (true) / No
};

// Writes each message to stderr and answers every question with No.
class StderrMessages : public MessageSeam {
 public:
  void Error(const std::string& text) override;
  void Info(const std::string& text) override;
  bool Confirm(const std::string& text) override;
};

// The seam in use; StderrMessages until another is installed.
MessageSeam& Messages();
// Installs a seam (nullptr restores the default) and returns the one it replaces.
MessageSeam* InstallMessages(MessageSeam* seam);
