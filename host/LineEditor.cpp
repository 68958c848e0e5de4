#include "LineEditor.h"

#include <set>
#include <sstream>

#include "sdk/qel_account.h"
#include "sim/driver.h"

namespace host {

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) {
        if (!part.empty()) parts.push_back(part);
    }
    return parts;
}

// A usage token without its brackets, dots and quotes: "[<kind>]" is "<kind>".
std::string Bare(std::string token) {
    std::erase_if(token, [](char c) { return c == '[' || c == ']' || c == '"'; });
    if (token.size() > 3 && token.compare(token.size() - 3, 3, "...") == 0) token.resize(token.size() - 3);
    return token;
}

bool Repeats(const std::string& token) { return token.find("...") != std::string::npos; }

// What a usage token such as "<peer-id>" or "on|off" offers.
void AddTokenCandidates(const std::string& command, const std::string& token, std::set<std::string>& out) {
    if (token.find('<') == std::string::npos) {
        if (token.find('|') != std::string::npos) {
            for (const std::string& choice : Split(token, '|')) out.insert(choice);
        }
        return;
    }
    if (token == "<kind>") {
        for (const char* kind : {"person", "group", "adhoc", "email"}) out.insert(kind);
    } else if (command == "smiley" && token == "<key>") {
        for (const std::string& key : BuiltinSmileys()) out.insert(key);
    } else if (token.find("-id>") != std::string::npos && token != "<id>") {
        for (const std::string& id : sim::PeerIds()) out.insert(id);
        // Members and senders may be the user too.
        qel_handle account = sim::CurrentAccount();
        const char* own = account ? qel_account_get_buddy_id(account) : nullptr;
        if (own && token != "<peer-id>") out.insert(own);
    }
}

}  // namespace

std::vector<std::string> CompletionCandidates(const Runner& runner, const std::vector<std::string>& before) {
    const auto& commands = runner.Commands();
    std::set<std::string> out;
    if (before.empty()) {
        for (const auto& [name, command] : commands) out.insert(name.substr(0, name.find(' ')));
        return {out.begin(), out.end()};
    }
    if (before.size() == 1) {
        const std::string family = before[0] + " ";
        for (const auto& [name, command] : commands) {
            if (name.compare(0, family.size(), family) == 0) out.insert(name.substr(family.size()));
        }
    }
    std::string name = before[0];
    size_t used = 1;
    if (before.size() > 1 && commands.count(name + " " + before[1])) {
        name += " " + before[1];
        used = 2;
    }
    auto it = commands.find(name);
    if (it != commands.end()) {
        std::vector<std::string> tokens = Split(it->second.usage, ' ');
        tokens.erase(tokens.begin(), tokens.begin() + long(std::min(used, tokens.size())));
        const size_t index = before.size() - used;
        if (index < tokens.size()) AddTokenCandidates(name, Bare(tokens[index]), out);
        else if (!tokens.empty() && Repeats(tokens.back())) AddTokenCandidates(name, Bare(tokens.back()), out);
    }
    return {out.begin(), out.end()};
}

std::vector<std::string> Completions(const Runner& runner, const std::string& before, const std::string& typed) {
    std::vector<std::string> matches;
    for (const std::string& candidate : CompletionCandidates(runner, Split(before, ' '))) {
        if (candidate.compare(0, typed.size(), typed) == 0) matches.push_back(candidate);
    }
    return matches;
}

}  // namespace host
