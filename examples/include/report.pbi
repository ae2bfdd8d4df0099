; Report output.

Procedure PrintReport(total.f)
  Protected i
  For i = 0 To StockCount - 1
    Debug Describe(Stock(i)\Name$) + " x" + Str(Stock(i)\Quantity)
  Next
  Debug "Total: " + StrF(total, 2)   ; "StockValue()" inside a string is no call
  LOGLINE("report printed")
EndProcedure

ProcedureC FormatPrice(price.f)      ; a C-convention head is searched like any line: it counts as its own call
  ProcedureReturn 0
EndProcedure
