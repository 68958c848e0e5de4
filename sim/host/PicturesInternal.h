// The host's rendering of pictures inside message views.
#pragma once

#include <string>

class CREidtInsertHelper;

namespace sim {

// Inserts a message's content: its text runs as text and its pictures as
// picture objects (a picture the server cannot give shows as the error
// picture under its key; "#..." sources are built-in faces).
void InsertContent(CREidtInsertHelper& helper, const std::string& contentType, const std::string& content);

}  // namespace sim
