#include "standard/EventStream.h"

#include <cstring>

#include "standard/WireFormat.h"
#include "standard/WorkerProtocol.h"

namespace orvo::standard {
namespace {

enum class EventKind : std::uint8_t {
  MacroDefined,
  MacroUndefined,
  CallCollected,
  ExpansionBuilt,
  RescanPass,
  Replaced,
  CallFinished,
  Conditional,
  IncludeDirective,
  IncludeLeft,
  Message,
};

void writeStep(WireWriter& out, const ExpansionStep& step) {
  out.place(step.place);
  out.i64(step.expansion);
  out.i64(step.parent);
  out.i64(step.depth);
}

void readStep(WireReader& in, ExpansionStep& step) {
  step.place = in.place();
  step.expansion = in.i32();
  step.parent = in.i32();
  step.depth = in.i32();
}

}  // namespace

std::string& EventEncoder::begin(std::uint8_t kind) {
  m_FrameStart = m_Buffer.size();
  m_Buffer.push_back(static_cast<char>(FrameKind::Event));
  m_Buffer.append(8, '\0');
  m_Buffer.push_back(static_cast<char>(kind));
  return m_Buffer;
}

void EventEncoder::finish() {
  const std::uint64_t length = m_Buffer.size() - m_FrameStart - kFrameHeaderBytes;
  std::memcpy(m_Buffer.data() + m_FrameStart + 1, &length, sizeof length);
  if (m_Buffer.size() >= kFlushBytes) flush();
}

void EventEncoder::flush() {
  if (m_Buffer.empty()) return;
  m_Sink(m_Buffer);
  m_Buffer.clear();
}

void EventEncoder::macroDefined(const MacroDefinedEvent& event) {
  WireWriter out(begin(static_cast<std::uint8_t>(EventKind::MacroDefined)));
  out.place(event.place);
  out.text(event.name);
  out.u8(static_cast<std::uint8_t>(event.kind));
  out.texts(event.parameters);
  out.text(event.replacement);
  out.boolean(event.redefined);
  finish();
}

void EventEncoder::macroUndefined(const MacroUndefinedEvent& event) {
  WireWriter out(begin(static_cast<std::uint8_t>(EventKind::MacroUndefined)));
  out.place(event.place);
  out.text(event.name);
  out.boolean(event.removedPredefined);
  out.boolean(event.removedObjectLike);
  out.boolean(event.functionLikeStays);
  finish();
}

void EventEncoder::callCollected(const CallCollectedEvent& event) {
  WireWriter out(begin(static_cast<std::uint8_t>(EventKind::CallCollected)));
  writeStep(out, event);
  out.text(event.name);
  out.text(event.callText);
  out.texts(event.arguments);
  out.text(event.argumentCountMessage);
  finish();
}

void EventEncoder::expansionBuilt(const ExpansionBuiltEvent& event) {
  WireWriter out(begin(static_cast<std::uint8_t>(EventKind::ExpansionBuilt)));
  writeStep(out, event);
  out.text(event.name);
  out.texts(event.parts);
  out.text(event.text);
  finish();
}

void EventEncoder::rescanPass(const RescanPassEvent& event) {
  WireWriter out(begin(static_cast<std::uint8_t>(EventKind::RescanPass)));
  writeStep(out, event);
  out.i64(event.pass);
  out.boolean(event.whole);
  out.text(event.before);
  out.text(event.after);
  out.texts(event.expanded);
  out.texts(event.busy);
  finish();
}

void EventEncoder::replaced(const ReplacementEvent& event) {
  WireWriter out(begin(static_cast<std::uint8_t>(EventKind::Replaced)));
  writeStep(out, event);
  out.text(event.name);
  out.u8(static_cast<std::uint8_t>(event.kind));
  out.text(event.value);
  finish();
}

void EventEncoder::callFinished(const CallFinishedEvent& event) {
  WireWriter out(begin(static_cast<std::uint8_t>(EventKind::CallFinished)));
  writeStep(out, event);
  out.text(event.name);
  out.text(event.result);
  finish();
}

void EventEncoder::conditional(const ConditionalEvent& event) {
  WireWriter out(begin(static_cast<std::uint8_t>(EventKind::Conditional)));
  out.place(event.place);
  out.text(event.directive);
  out.text(event.expression);
  out.i64(event.value);
  out.u64(event.names.size());
  for (const auto& [name, value] : event.names) {
    out.text(name);
    out.i64(value);
  }
  out.boolean(event.earlierBranchTaken);
  out.boolean(event.taken);
  out.i64(event.skippedFirstLine);
  out.i64(event.skippedLastLine);
  finish();
}

void EventEncoder::includeDirective(const IncludeEvent& event) {
  WireWriter out(begin(static_cast<std::uint8_t>(EventKind::IncludeDirective)));
  out.place(event.place);
  out.text(event.name);
  out.boolean(event.angled);
  out.text(event.path);
  out.boolean(event.found);
  out.boolean(event.loaded);
  out.i64(event.depth);
  finish();
}

void EventEncoder::includeLeft(const IncludeLeftEvent& event) {
  WireWriter out(begin(static_cast<std::uint8_t>(EventKind::IncludeLeft)));
  out.text(event.name);
  out.text(event.path);
  out.i64(event.depth);
  finish();
}

void EventEncoder::message(const MessageEvent& event) {
  WireWriter out(begin(static_cast<std::uint8_t>(EventKind::Message)));
  out.place(event.place);
  out.u8(static_cast<std::uint8_t>(event.severity));
  out.text(event.text);
  out.boolean(event.endedRun);
  finish();
}

void replayEvent(std::string_view payload, RunObserver& observer, SourcePlace& lastPlace) {
  WireReader in(payload);
  const auto kind = static_cast<EventKind>(in.u8());
  const auto keep = [&](const SourcePlace& place) {
    if (place.known()) lastPlace = place;
  };
  switch (kind) {
    case EventKind::MacroDefined: {
      MacroDefinedEvent event;
      event.place = in.place();
      event.name = in.text();
      event.kind = static_cast<MacroKind>(in.u8());
      event.parameters = in.texts();
      event.replacement = in.text();
      event.redefined = in.boolean();
      keep(event.place);
      observer.macroDefined(event);
      return;
    }
    case EventKind::MacroUndefined: {
      MacroUndefinedEvent event;
      event.place = in.place();
      event.name = in.text();
      event.removedPredefined = in.boolean();
      event.removedObjectLike = in.boolean();
      event.functionLikeStays = in.boolean();
      keep(event.place);
      observer.macroUndefined(event);
      return;
    }
    case EventKind::CallCollected: {
      CallCollectedEvent event;
      readStep(in, event);
      event.name = in.text();
      event.callText = in.text();
      event.arguments = in.texts();
      event.argumentCountMessage = in.text();
      keep(event.place);
      observer.callCollected(event);
      return;
    }
    case EventKind::ExpansionBuilt: {
      ExpansionBuiltEvent event;
      readStep(in, event);
      event.name = in.text();
      event.parts = in.texts();
      event.text = in.text();
      observer.expansionBuilt(event);
      return;
    }
    case EventKind::RescanPass: {
      RescanPassEvent event;
      readStep(in, event);
      event.pass = in.i32();
      event.whole = in.boolean();
      event.before = in.text();
      event.after = in.text();
      event.expanded = in.texts();
      event.busy = in.texts();
      observer.rescanPass(event);
      return;
    }
    case EventKind::Replaced: {
      ReplacementEvent event;
      readStep(in, event);
      event.name = in.text();
      event.kind = static_cast<MacroKind>(in.u8());
      event.value = in.text();
      keep(event.place);
      observer.replaced(event);
      return;
    }
    case EventKind::CallFinished: {
      CallFinishedEvent event;
      readStep(in, event);
      event.name = in.text();
      event.result = in.text();
      observer.callFinished(event);
      return;
    }
    case EventKind::Conditional: {
      ConditionalEvent event;
      event.place = in.place();
      event.directive = in.text();
      event.expression = in.text();
      event.value = in.i32();
      const std::uint64_t names = in.u64();
      for (std::uint64_t i = 0; i < names && !in.atEnd(); ++i) {
        std::string name = in.text();
        event.names.emplace_back(std::move(name), in.i32());
      }
      event.earlierBranchTaken = in.boolean();
      event.taken = in.boolean();
      event.skippedFirstLine = in.i32();
      event.skippedLastLine = in.i32();
      keep(event.place);
      observer.conditional(event);
      return;
    }
    case EventKind::IncludeDirective: {
      IncludeEvent event;
      event.place = in.place();
      event.name = in.text();
      event.angled = in.boolean();
      event.path = in.text();
      event.found = in.boolean();
      event.loaded = in.boolean();
      event.depth = in.i32();
      keep(event.place);
      observer.includeDirective(event);
      return;
    }
    case EventKind::IncludeLeft: {
      IncludeLeftEvent event;
      event.name = in.text();
      event.path = in.text();
      event.depth = in.i32();
      observer.includeLeft(event);
      return;
    }
    case EventKind::Message: {
      MessageEvent event;
      event.place = in.place();
      event.severity = static_cast<Severity>(in.u8());
      event.text = in.text();
      event.endedRun = in.boolean();
      observer.message(event);
      return;
    }
  }
  throw WireError("unknown event");
}

}  // namespace orvo::standard
