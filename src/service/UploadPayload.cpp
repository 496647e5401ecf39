#include "app/TForm1.h"
#include "comm/SerialPort.h"
#include "core/Pacer.h"
#include "widgets/Led.h"

#include <algorithm>

namespace {

constexpr qsizetype Buffer = SerialPort::OutputBufferSize;
// How often a payload larger than the output buffer looks whether the buffer has drained.
constexpr int DrainLookMs = 1000;

} // namespace

void TForm1::sendUploadPayload() {
    log("+++++++++++++++");
    dialogue.awaitingPrompt = false;
    dialogue.step(dialogue.done());
    unit.pause(500);
    // The output buffer takes at most its size at once: the rest follows in pieces of at most that size,
    // each as soon as the buffer has drained.
    unit.sendData(state.uploadPayload.left(Buffer));
    unit.then([this] {
        engine.expectAnswerAfter(std::min(Buffer, state.uploadPayload.size()));
        if (state.uploadPayload.size() > Buffer) sendPayloadFrom(Buffer);
    });
}

void TForm1::sendPayloadFrom(qsizetype sent) {
    // The upload ended meanwhile (the unit stopped taking bytes, the user started something else).
    if (!dialogue.is(Dialogue::Phase::Uploading)) return;
    if (ApdComPort1.outputFree() < Buffer) {
        log("sending");
        RXDled->setVisible(RXDled->isHidden());
        pacer.after(DrainLookMs, this, [this, sent] { run([this, sent] { sendPayloadFrom(sent); }); });
        return;
    }
    log("flush buffer");
    const QByteArray& payload = state.uploadPayload;
    const qsizetype piece = std::min(Buffer, payload.size() - sent);
    unit.sendData(payload.mid(sent, piece));
    engine.expectAnswerAfter(piece);
    if (sent + piece < payload.size()) sendPayloadFrom(sent + piece);
}
