#pragma once
#include <string>

namespace kel::cli {

// Where kel-cli's results go. Reasons go to standard error as they happen;
// with --json every outcome is also exactly one JSON object on standard
// output: the command's own, or {"error": {...}} built from the reasons.
namespace output {

void SetJson(bool json);
bool Json();

// "kel-cli: TEXT" on standard error, kept as a reason.
void Complain(const std::string& text);
// A line the engine printed on standard error ("CAPTION: TEXT"), kept as a reason.
void NoteReason(const std::string& line);
// The command's own JSON object (printed with a newline).
void PrintJson(const std::string& object);

// The end of a run: the error object when the command printed no JSON object
// of its own, then the check that standard output took everything (a failed
// write of it is a failure). Returns the exit status.
int Finish(int status);

// Forgets everything (a new run in the same process).
void Reset();

}  // namespace output
}  // namespace kel::cli
