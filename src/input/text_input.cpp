#include "input/text_input.h"

void startTextInput(TextInput* in, TextReader reader, void* context) {
    in->reader = reader;
    in->context = context;
    in->tap = nullptr;
    in->next = 0;
    in->length = 0;
    in->tapped = 0;
}

void tapTakenBytes(TextInput* in) {
    if (in->tap != nullptr && in->tapped < in->next)
        in->tap(in->context, in->buffer + in->tapped, in->next - in->tapped);
    in->tapped = in->next;
}

void skipTakenBytes(TextInput* in) { in->tapped = in->next; }

int nextInputByte(TextInput* in) {
    if (in->next == in->length) {
        tapTakenBytes(in);
        in->tapped = 0;
        const int got = in->reader(in->context, in->buffer, kTextInputCapacity);
        in->next = 0;
        in->length = got > 0 ? got : 0;
        if (in->length == 0) return EOF;
    }
    return static_cast<unsigned char>(in->buffer[in->next++]);
}

// The byte just returned is still in the buffer, before `next`.
void giveBackInputByte(TextInput* in, int byte) {
    if (byte != EOF && in->next > 0) --in->next;
    if (in->tapped > in->next) in->tapped = in->next;
}

namespace {

const char kPasteStart[] = "\x1b[200~";
const char kPasteEnd[] = "\x1b[201~";
constexpr int kMarkerLength = 6;

bool startsWith(const char* bytes, int length, const char* marker) {
    if (length < kMarkerLength) return false;
    for (int i = 0; i < kMarkerLength; ++i) {
        if (bytes[i] != marker[i]) return false;
    }
    return true;
}

}  // namespace

int dropPasteMarkers(char* bytes, int length) {
    int kept = 0;
    for (int i = 0; i < length;) {
        const int left = length - i;
        if (startsWith(bytes + i, left, kPasteStart) || startsWith(bytes + i, left, kPasteEnd)) {
            i += kMarkerLength;
        } else {
            bytes[kept++] = bytes[i++];
        }
    }
    return kept;
}
