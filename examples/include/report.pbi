; Report output.

Procedure.s Rule(width.i)              ; calls itself until the rule is wide enough
  If width <= 0
    ProcedureReturn ""
  EndIf
  ProcedureReturn "-" + Rule(width - 1)
EndProcedure

Procedure PrintReport(total.f)
  Protected i
  Debug Rule(20)
  For i = 0 To StockCount - 1
    Debug Describe(Stock(i)\Name$) + " x" + Str(Stock(i)\Quantity)
  Next
  Debug "Total: " + StrF(total, 2)   ; "StockValue()" inside a string is no call
  LOGLINE("report printed")
EndProcedure

ProcedureC FormatPrice(price.f)      ; a C-convention head is searched like any line: it counts as its own call
  ProcedureReturn 0
EndProcedure
