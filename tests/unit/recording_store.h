// An in-memory Store for the settings logic: holds 32-bit and string values by
// key and name, and records every read and write in order.
#ifndef MORVANE_TESTS_UNIT_RECORDING_STORE_H
#define MORVANE_TESTS_UNIT_RECORDING_STORE_H

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Spelled out here, not taken from the product, so that a misspelt key fails.
const char kTestSharedKey[] = "SOFTWARE\\Kivo Corporation\\Pelvorn\\";
const char kTestDriverKey[] = "SOFTWARE\\KIVO ZUL\\Orvelle\\REL3";

class RecordingStore {
  public:
    struct Value {
        bool isText;
        int number;
        std::string text;
    };

    void PutDword(const std::string& subkey, const std::string& name, int value) {
        values[{subkey, name}] = Value{false, value, ""};
    }
    void PutString(const std::string& subkey, const std::string& name, const std::string& text) {
        values[{subkey, name}] = Value{true, 0, text};
    }

    // A value of the wrong kind reads as a failure, like a value that does not
    // fit the reader's buffer.
    int ReadDword(const char* subkey, const char* name, int* value) {
        reads.push_back(Label(subkey, name));
        auto found = values.find({subkey, name});
        if (found == values.end() || found->second.isText) {
            return 0;
        }
        *value = found->second.number;
        return 1;
    }

    int ReadString(const char* subkey, const char* name, char* buffer) {
        reads.push_back(Label(subkey, name));
        auto found = values.find({subkey, name});
        if (found == values.end() || !found->second.isText || found->second.text.size() > 259) {
            return 0;
        }
        std::copy(found->second.text.begin(), found->second.text.end(), buffer);
        buffer[found->second.text.size()] = '\0';
        return 1;
    }

    int WriteDword(const char* subkey, const char* name, int value) {
        writes.push_back(Label(subkey, name) + "=" + std::to_string(value));
        if (failWrites) {
            return 0;
        }
        PutDword(subkey, name, value);
        return 1;
    }

    int WriteString(const char* subkey, const char* name, const char* text) {
        writes.push_back(Label(subkey, name) + "=\"" + text + "\"");
        if (failWrites) {
            return 0;
        }
        PutString(subkey, name, text);
        return 1;
    }

    std::map<std::pair<std::string, std::string>, Value> values;
    // "shared Morvane_AudioSetting", "driver SFMin=4", "shared Morvane_AudioDevice=\"x\"".
    std::vector<std::string> reads;
    std::vector<std::string> writes;
    bool failWrites = false;

  private:
    static std::string Label(const std::string& subkey, const std::string& name) {
        std::string key = subkey == kTestSharedKey   ? "shared"
                          : subkey == kTestDriverKey ? "driver"
                                                     : "unknown key " + subkey;
        return key + " " + name;
    }
};

#endif
