; Constants and globals shared by every file.

#MaxItems = 100

Structure Item
  Name$
  Quantity.i
  Price.f
EndStructure

Global Dim Stock.Item(#MaxItems)
Global StockCount.i

Procedure.i Clamp(value.i, low.i, high.i)
  If value < low : ProcedureReturn low : EndIf
  If value > high : ProcedureReturn high : EndIf
  ProcedureReturn value
EndProcedure

; Declared here, defined further down: a Declare line is no call
Declare.s Describe(name$)
Declare Unused()
