; A project for the checks: lines that name procedures without calling them, and
; Declares that the compiler takes or refuses.
EnableExplicit

XIncludeFile "browser.pbi"

Prototype HighlightCallback(*Position, Length)
PrototypeC.i CompareCallback(*Left, *Right)

Interface IShape
  Draw(x.i, y.i)
  Area.d()
EndInterface

ImportC ""
  strlen(*Text)
  Draw(x.i, y.i) As "draw_shape"
EndImport

Procedure.s ReadText(Mode)
  ProcedureReturn Str(Mode)
EndProcedure

CompilerIf #PB_Compiler_Unicode
  Macro CompilerRead(Mode = #PB_UTF8)
    ReadText(Mode)
  EndMacro
CompilerElse
  Procedure.s CompilerRead(Mode = #PB_Ascii)
    ProcedureReturn ReadText(Mode)
  EndProcedure
CompilerEndIf

Macro LogTwice(Text)
  LogLine(Text) : LogLine(Text)
EndMacro

; Declares that differ from their heads only in names and blanks: the compiler takes them.
Declare.s Describe(Name$)
Declare Session_IsRunning(OSSessonID$)
Declare Opt(a = 1,  b = #PB_Any)
Declare Blend(*Target.RGBA, Alpha)

; Declares the compiler refuses.
Declare Resize(Width, Height)
Declare Scale(Factor.f)
Declare Fill(*Buffer, Size)
Declare Sort(Array Items.i(1))
Declare Clamp(Value, Low = 0, High = 100)
Declare.s Title(Window)
Declare Forgotten()

Procedure Main()
  Protected Text$ = CompilerRead()
  LogTwice("start")
  Early()
  Debug Describe("x") + Title(1)
  Resize(1, 2, 3) : Scale(2) : Clamp(5)
  Session_IsRunning("1") : Opt() : OnlyOnce()
EndProcedure

Procedure Early()
  Debug "early"
EndProcedure

Procedure LogLine(Text$)
  Debug Text$
EndProcedure

Procedure Draw(x.i, y.i)
  Debug x + y
EndProcedure

Procedure HighlightCallback(*Position, Length)
EndProcedure

ProcedureC CompareCallback(*Left, *Right)
  ProcedureReturn 0
EndProcedure

Procedure.s Describe(Text$)
  ProcedureReturn Text$
EndProcedure

Procedure Session_IsRunning(OSSessionID$)
EndProcedure

Procedure Opt(a=1, B=#PB_ANY)
EndProcedure

Procedure Blend(*Pixel.RGBA, Opacity.i)
EndProcedure

Procedure Resize(Width, Height, Depth)
EndProcedure

Procedure Scale(Factor.d)
EndProcedure

Procedure Fill(Buffer.i, Size)
EndProcedure

Procedure Sort(List Items.i())
EndProcedure

Procedure Clamp(Value, Low = 0, High = 10)
EndProcedure

Procedure Title(Window)
EndProcedure

ProcedureDLL.i Exported()
  ProcedureReturn @HighlightCallback() + @CompareCallback() + Draw(1, 2)
EndProcedure

Main()
