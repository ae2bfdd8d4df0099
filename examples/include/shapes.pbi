; Two modules with a procedure of the same name: Geo::Area and Text::Area are told apart.

DeclareModule Geo
  Declare.i Area(w.i, h.i)
EndDeclareModule

DeclareModule Text
  Declare.i Area(s$)
EndDeclareModule

Module Geo
  Procedure.i Area(w.i, h.i)
    ProcedureReturn w * h
  EndProcedure
EndModule

Module Text
  Procedure.i Area(s$)
    ProcedureReturn Len(s$)
  EndProcedure
EndModule
