// The application object simcad.exe puts in the running object table: the
// simulated CAD's application, plus members by which tests drive and
// inspect the simulator. The test members are not journalled.
//
//   SimLoadDrawing(path)          opens an ASCII DXF file as the only document; returns
//                                 the entity count
//   SimOpenDrawing(path)          opens one more, which becomes the active document;
//                                 returns its index among the open documents
//   SimActivateDocument(index)    makes that open document the active one
//   SimJournal                    the calls made so far, one string each, such as
//                                 Document.GetVariable("VIEWCTR")
//   SimClearJournal
//   SimSetViewCentre(x, y)        pans the view
//   SimView                       [centre x, centre y, height, width]
//   SimFailOn(member, n, hresult) the member's n-th call from now fails with hresult
//   SimStallOn(member, n, ms)     the member's n-th call from now sleeps ms before it
//                                 answers, without looking at messages
//   SimBusyFor(ms)                once the call has returned, the server's thread sleeps
//                                 ms outside any member, without looking at messages
//   SimReturnWrongType(member)    the member answers with a string from now on
//   SimClearFaults
//   SimMinimize                   minimizes the viewer window
//   SimIsMinimized, SimIsForeground
//   SimRefuseCalls(n, answer)     the server's message filter answers the next n
//                                 incoming calls with SERVERCALL_REJECTED (1) or
//                                 SERVERCALL_RETRYLATER (2)
//   SimFilterConsulted            how often that filter was asked so far
//   SimEcho(value)                returns its argument
//   SimQuit                       ends simcad.exe once the call has returned
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "cad/Automation.h"
#include "sim/SimCad.h"

// What the test members do to the simulator's window and process.
class SimCadHost {
 public:
  virtual ~SimCadHost() = default;
  virtual void LoadDrawing(const std::wstring& path) = 0;
  virtual size_t OpenDrawing(const std::wstring& path) = 0;
  virtual void ActivateDocument(size_t index) = 0;
  virtual void Minimize() = 0;
  virtual bool IsMinimized() const = 0;
  virtual bool IsForeground() const = 0;
  virtual void RefuseCalls(int count, int answer) = 0;
  virtual void BusyFor(std::chrono::milliseconds duration) = 0;
  virtual int FilterConsulted() const = 0;
  virtual void Quit() = 0;
};

class SimCadApplication : public DispatchObject {
 public:
  SimCadApplication(sim::SimCad& cad, SimCadHost& host) : FCad(cad), FHost(host) {}

  Variant Invoke(std::wstring_view member, CallKind kind, std::span<const Variant> arguments) override;

  // The test members and every member of the simulated application.
  bool HasMember(std::wstring_view member) const;

 private:
  Variant CallTestMember(std::wstring_view member, std::span<const Variant> arguments);

  sim::SimCad& FCad;
  SimCadHost& FHost;
};

// Reads an ASCII DXF file by its wide path. Throws sim::DxfError.
sim::Drawing ReadDrawingFile(const std::wstring& path);

// A document opened from the file: FullName the path, Name its file name.
sim::DocumentNames DocumentNamesOf(const std::wstring& path);
